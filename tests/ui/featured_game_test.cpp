// The link as Qt draws it: in its colour, added to what lies beneath, only for the featured game.
#include <gtest/gtest.h>

#include "ui/core/client_layout.h"
#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

using ClientDlgLinkTest = ClientDlgTest;

// Whether anything is drawn inside the link's rectangle.
bool LinkAreaDrawn(ClientDlg& dlg) {
  const Surface surface = dlg.RenderSurface();
  const Rect area = dlg.view().LinkRect().Intersected(surface.Bounds());
  for (int y = area.top; y < area.Bottom(); ++y) {
    for (int x = area.left; x < area.Right(); ++x) {
      if (surface.PixelAt(x, y) != 0) return true;
    }
  }
  return false;
}

TEST_F(ClientDlgLinkTest, LinkAppearsInItsColourOnlyForTheFeaturedGamesServer) {
  view_->ApplyGameInfo(MakeGame("Other game", "1001", "s7"), 0);
  DeliverMessages();
  ShowStatus(0, 10, u"Downloading...");
  FireTimer(ClientView::kOfferLinkTimer);
  ASSERT_FALSE(view_->LinkText().empty());
  EXPECT_FALSE(LinkAreaDrawn(*dlg_));

  view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s7"), 0);
  DeliverMessages();
  ASSERT_TRUE(LinkAreaDrawn(*dlg_));
  // Text is additive: no alpha, the link colour's hue.
  const Surface surface = dlg_->RenderSurface();
  int blue_pixels = 0;
  for (int x = 200; x < 320; ++x) {
    for (int y = 360; y < surface.height(); ++y) {
      const uint32_t pixel = surface.PixelAt(x, y);
      EXPECT_EQ(PixelAlpha(pixel), 0u);
      if (PixelBlue(pixel) > PixelRed(pixel) + 40) ++blue_pixels;
    }
  }
  EXPECT_GT(blue_pixels, 20);
  EXPECT_FALSE(view_->TakesMouseAt(Point{260, 372})) << "presses on the link reach the owner";
}

}  // namespace
}  // namespace qv::ui::test
