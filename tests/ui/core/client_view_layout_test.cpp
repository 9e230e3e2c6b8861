#include <gtest/gtest.h>

#include "ui/core/client_layout.h"
#include "ui/core/composition.h"
#include "view_test_support.h"
#include "util/default_descriptions.h"
#include "util/text_conversion.h"

namespace qv::ui::test {
namespace {

using ClientViewLayoutTest = ClientViewTest;

TEST_F(ClientViewLayoutTest, CreatedViewPlacesAndShowsItsWindowWithTheOwner) {
  EXPECT_TRUE(view_->HasWindow());
  EXPECT_EQ(host_.geometry, kClientWindowRect);
  EXPECT_EQ(view_->WindowRect(), kClientWindowRect);
  EXPECT_EQ(host_.shown_with_owner, 1);
  EXPECT_TRUE(host_.shown);
  EXPECT_EQ(InsetRect(Rect{100, 80, 584, 410}), kClientWindowRect);
}

TEST_F(ClientViewLayoutTest, ElementsSitWhereTheLayoutPutsThem) {
  // Right and bottom edges excluded, as in the layout table.
  struct Case {
    const char* element;
    Rect actual;
    Rect expected;
  };
  const Case cases[] = {
      {"title", TitleRect(), Rect::FromEdges(16, 3, 320, 50)},
      {"close", CloseButtonRect(558), Rect::FromEdges(535, 8, 551, 24)},
      {"minimise", MinimiseButtonRect(558), Rect::FromEdges(514, 8, 530, 24)},
      {"header", HeaderRect(558), Rect::FromEdges(0, 30, 558, 235)},
      {"description", DescriptionRect(), Rect::FromEdges(16, 265, 536, 345)},
      {"bar", ProgressBarRect(), Rect::FromEdges(16, 345, 543, 355)},
      {"status", StatusRect(), Rect::FromEdges(16, 360, 360, 385)},
      {"link", LinkRect(), Rect::FromEdges(200, 360, 320, 385)},
      {"link of the view", view_->LinkRect(), Rect::FromEdges(200, 360, 320, 385)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.element;
  EXPECT_EQ(HeaderRect(558).GetSize(), (Size{558, 205}));
  EXPECT_EQ(CloseButtonRect(558).GetSize(), (Size{16, 16}));
}

TEST_F(ClientViewLayoutTest, TextsAskForTheWindowsFontAtTheirHeights) {
  struct Case {
    FontSpec font;
    int pixels;
    bool italic_and_underlined;
  };
  const Case cases[] = {{ClientView::TitleFont(), 13, false},
                        {ClientView::TextFont(), 12, false},
                        {ClientView::LinkFont(), 12, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.font.face, u"Microsoft YaHei");
    EXPECT_EQ(c.font.pixels, c.pixels);
    EXPECT_EQ(c.font.italic, c.italic_and_underlined);
    EXPECT_EQ(c.font.underline, c.italic_and_underlined);
  }
}

TEST_F(ClientViewLayoutTest, CreatedViewShowsTheDefaultTextsAndNoHeaderYet) {
  EXPECT_EQ(view_->Title(), u"QVorvane");
  EXPECT_EQ(view_->Description(), util::Utf8ToWide(util::kPlatformDescription));
  EXPECT_EQ(view_->StatusLine(), u"Installing...");
  EXPECT_TRUE(view_->LinkText().empty());
  EXPECT_FALSE(view_->HasHeaderImage());
  EXPECT_EQ(view_->LinkColor(), kLinkColor);
  for (int timer : {ClientView::kRefreshTimer, ClientView::kFinishTimer,
                    ClientView::kOfferLinkTimer}) {
    EXPECT_FALSE(view_->TimerRunning(timer));
    EXPECT_EQ(host_.timer_starts[timer], 0);
  }
}

TEST_F(ClientViewLayoutTest, PlacingMovesAndShowsTheWindowAtTheNewRectangle) {
  host_.shown = false;
  const Rect moved{300, 200, 558, 384};
  view_->PlaceAt(moved);
  EXPECT_EQ(view_->WindowRect(), moved);
  EXPECT_EQ(host_.geometry, moved);
  EXPECT_TRUE(host_.shown);
}

TEST_F(ClientViewLayoutTest, LayoutShowsTheWindowOnlyWithItsOwner) {
  // Closed to the tray: a late game record must not bring the content up without its frame.
  host_.owner_shown = false;
  host_.shown = false;
  view_->ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);
  DeliverMessages();
  EXPECT_FALSE(host_.shown);

  host_.owner_shown = true;
  view_->ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);
  DeliverMessages();
  EXPECT_TRUE(host_.shown);
}

TEST_F(ClientViewLayoutTest, EveryLayoutResetsTheLinkColourAndStatusLine) {
  view_->SetLinkColor(kLinkPressedColor);
  ShowStatus(0, 40, u"Downloading...");
  ASSERT_EQ(view_->StatusLine(), u"Downloading... 40%");
  view_->ApplyGameInfo(MakeGame(""), 0);
  DeliverMessages();
  EXPECT_EQ(view_->LinkColor(), kLinkColor);
  EXPECT_EQ(view_->StatusLine(), u"Installing...");
  FireTimer(ClientView::kRefreshTimer);
  EXPECT_EQ(view_->StatusLine(), u"Downloading... 40%");
}

TEST_F(ClientViewLayoutTest, OverlongDescriptionStaysInsideItsRectangle) {
  auto render_with = [&](const std::string& desc) {
    view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "", desc), 0);
    DeliverMessages();
    ShowStatus(0, 30, u"Downloading...");
    return Render();
  };
  std::string overlong;
  while (overlong.size() < 500) overlong += "Sail the shattered seas of Valoria. ";
  const Surface short_text = render_with("Sail.");
  const Surface long_text = render_with(overlong);
  // Everything from the bar down is the same as with a one-word description.
  for (int y = 345; y < 384; ++y) {
    for (int x = 0; x < 558; ++x) {
      ASSERT_EQ(long_text.PixelAt(x, y), short_text.PixelAt(x, y)) << x << "," << y;
    }
  }
}

// The region given to the window when it is laid out, before any paint, is the one a whole
// rendering (texts included) gives: the first presses after showing go where the pictures are.
TEST_F(ClientViewLayoutTest, InputRegionBeforeTheFirstPaintIsThatOfTheWholeRendering) {
  const Region laid_out = host_.input_region;
  EXPECT_FALSE(laid_out.IsEmpty());
  EXPECT_EQ(laid_out, view_->InputRegion());
  EXPECT_EQ(laid_out, OpaqueRegion(Render()));

  view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s1"), 0);  // default header
  DeliverMessages();
  EXPECT_NE(host_.input_region, laid_out);
  EXPECT_EQ(host_.input_region, OpaqueRegion(Render()));
}

}  // namespace
}  // namespace qv::ui::test
