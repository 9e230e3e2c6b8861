#include "ui/core/featured_game.h"

#include <gtest/gtest.h>

#include <string>

#include "qv/deployment_settings.h"
#include "ui/client_layout.h"
#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

TEST(FeaturedGameTest, LinkIsShownOnlyWithTextServerAndTheFeaturedGame) {
  struct Case {
    const char* name;
    const char* server_id;
    std::u16string link_text;
    bool shown;
  };
  const Case cases[] = {
      {"Tides of Valoria III", "s7", u"Play on Browser", true},
      {"Tides of Valoria III", "s7", u"", false},
      {"Tides of Valoria III", "", u"Play on Browser", false},
      {"Tides of Valoria II", "s7", u"Play on Browser", false},
      {"tides of valoria iii", "s7", u"Play on Browser", false},
      {"", "s7", u"Play on Browser", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LinkShown(c.link_text, MakeGame(c.name, "1001", c.server_id)), c.shown)
        << c.name << "/" << c.server_id;
  }
}

TEST(FeaturedGameTest, GamePageCarriesTheServerIdAsItStands) {
  const std::string base = settings::kGameWebBaseUrl;
  struct Case {
    const char* server_id;
    std::string url;
  };
  const Case cases[] = {
      {"s7", base + "/game/?sid=s7"},
      {"", base + "/game/?sid="},
      {"a%sb&c=1", base + "/game/?sid=a%sb&c=1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GamePageUrl(MakeGame("Tides of Valoria III", "1001", c.server_id)), c.url);
  }
}

using ClientDlgLinkTest = ClientDlgTest;

// Whether anything is drawn inside the link's rectangle.
bool LinkAreaDrawn(ClientDlg& dlg) {
  const QImage surface = dlg.RenderSurface();
  const QRect area = dlg.LinkRect() & surface.rect();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (surface.pixel(x, y) != 0) return true;
    }
  }
  return false;
}

TEST_F(ClientDlgLinkTest, LinkAppearsInItsColourOnlyForTheFeaturedGamesServer) {
  dlg_->ApplyGameInfo(MakeGame("Other game", "1001", "s7"), 0);
  DeliverMessages();
  ShowStatus(0, 10, u"Downloading...");
  FireTimer(ClientDlg::Timer::kOfferLink);
  ASSERT_FALSE(dlg_->LinkText().empty());
  EXPECT_FALSE(LinkAreaDrawn(*dlg_));

  dlg_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s7"), 0);
  DeliverMessages();
  ASSERT_TRUE(LinkAreaDrawn(*dlg_));
  // Text is additive: no alpha, the link colour's hue.
  const QImage surface = dlg_->RenderSurface();
  int blue_pixels = 0;
  for (int x = 200; x < 320; ++x) {
    for (int y = 360; y < surface.height(); ++y) {
      const QRgb pixel = surface.pixel(x, y);
      EXPECT_EQ(qAlpha(pixel), 0);
      if (qBlue(pixel) > qRed(pixel) + 40) ++blue_pixels;
    }
  }
  EXPECT_GT(blue_pixels, 20);
  EXPECT_FALSE(dlg_->TakesMouseAt(QPoint(260, 372))) << "presses on the link reach the owner";
}

}  // namespace
}  // namespace qv::ui::test
