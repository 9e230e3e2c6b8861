#include <gtest/gtest.h>

#include "controller/window_messages.h"
#include "ui/core/client_layout.h"
#include "ui/core/composition.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "view_test_support.h"

namespace qv::ui::test {
namespace {

class ClientViewMouseTest : public ClientViewTest {
 protected:
  ClientViewMouseTest() {
    view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s1"), 0);  // default header
    DeliverMessages();
    ShowStatus(0, 50, u"Downloading...");
    Render();
  }

  // A pixel of `area` that text coloured but left transparent, or (-1, -1).
  Point TextPixelIn(const Rect& area) {
    const Surface surface = Render();
    for (int y = area.top; y < area.Bottom(); ++y) {
      for (int x = area.left; x < area.Right(); ++x) {
        const uint32_t pixel = surface.PixelAt(x, y);
        if (PixelAlpha(pixel) == 0 && pixel != 0) return {x, y};
      }
    }
    return {-1, -1};
  }

  // Whether the surface shows `picture_id` at `where`, pixel for pixel.
  bool ShowsPicture(Point where, int picture_id) {
    const Surface surface = Render();
    const Surface picture = LoadPictureFromResource(picture_id);
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (surface.PixelAt(where.x + x, where.y + y) != picture.PixelAt(x, y)) return false;
      }
    }
    return !picture.IsNull();
  }

  static Point Centre(const Rect& rect) {
    return {rect.left + rect.width / 2, rect.top + rect.height / 2};
  }

  const Rect close_ = CloseButtonRect(558);
  const Rect minimise_ = MinimiseButtonRect(558);
};

TEST_F(ClientViewMouseTest, OnlyOpaquePicturePixelsTakeTheMouse) {
  const Point title_text = TextPixelIn(TitleRect());
  const Point status_text = TextPixelIn(StatusRect());
  const Point description_text = TextPixelIn(DescriptionRect());
  ASSERT_NE(title_text, (Point{-1, -1}));
  ASSERT_NE(status_text, (Point{-1, -1}));
  ASSERT_NE(description_text, (Point{-1, -1}));
  struct Case {
    const char* where;
    Point point;
    bool taken;
  };
  const Case cases[] = {
      {"header", {279, 132}, true},
      {"header's first row", {0, 30}, true},
      {"close button corner (alpha 1)", close_.TopLeft(), true},
      {"close button centre", Centre(close_), true},
      {"minimise button corner", {minimise_.Right() - 1, minimise_.Bottom() - 1}, true},
      {"bar fill", {100, 350}, true},
      {"bar track", {400, 350}, true},
      {"drag strip left of the title", {4, 10}, false},
      {"title text", title_text, false},
      {"description text", description_text, false},
      {"status text", status_text, false},
      {"between description and bar", {540, 300}, false},
      {"between the buttons", {532, 16}, false},
      {"below the header", {279, 240}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(view_->TakesMouseAt(c.point), c.taken) << c.where;
    EXPECT_EQ(view_->OnMousePress(c.point), c.taken) << c.where;
  }
  EXPECT_EQ(host_.input_region, view_->InputRegion());
}

TEST_F(ClientViewMouseTest, HoveringAButtonShowsTheOrangePictureAndTheHandUntilTheMouseLeaves) {
  ASSERT_TRUE(ShowsPicture(close_.TopLeft(), kClosePicture));
  EXPECT_TRUE(view_->OnMouseMove(Centre(close_)));
  EXPECT_TRUE(view_->close_hovered());
  EXPECT_TRUE(host_.hand_cursor);
  EXPECT_TRUE(ShowsPicture(close_.TopLeft(), kCloseHoverPicture));

  EXPECT_TRUE(view_->OnMouseMove(Centre(minimise_)));
  EXPECT_TRUE(view_->minimise_hovered());
  EXPECT_TRUE(ShowsPicture(minimise_.TopLeft(), kMinimiseHoverPicture));

  view_->OnMouseLeave();
  EXPECT_FALSE(view_->close_hovered());
  EXPECT_FALSE(view_->minimise_hovered());
  EXPECT_FALSE(host_.hand_cursor);
  EXPECT_TRUE(ShowsPicture(close_.TopLeft(), kClosePicture));
  EXPECT_TRUE(ShowsPicture(minimise_.TopLeft(), kMinimisePicture));
}

TEST_F(ClientViewMouseTest, MovingOntoTextLeavesTheButtonsAndIsLeftToTheOwner) {
  view_->OnMouseMove(Centre(close_));
  ASSERT_TRUE(view_->close_hovered());
  EXPECT_FALSE(view_->OnMouseMove(Point{4, 10})) << "the backend passes it on";
  EXPECT_FALSE(view_->close_hovered());
  EXPECT_FALSE(host_.hand_cursor);
}

TEST_F(ClientViewMouseTest, ShowingOrHidingTheWindowsResetsTheHover) {
  view_->OnMouseMove(Centre(close_));
  view_->ResetButtonHover();
  EXPECT_FALSE(view_->close_hovered());
  EXPECT_TRUE(ShowsPicture(close_.TopLeft(), kClosePicture));
}

TEST_F(ClientViewMouseTest, ReleaseOnCloseAsksTheOwnerToCloseToTheTrayAndOffersTheLink) {
  view_->SetLinkColor(kLinkPressedColor);
  ASSERT_TRUE(host_.Running(ClientView::kOfferLinkTimer));
  // No press before: a release on the button acts on its own.
  EXPECT_TRUE(view_->OnLeftButtonUp(Centre(close_)));
  EXPECT_EQ(host_.owner_messages, std::vector<uint32_t>{controller::WM_CLOSE_TO_TRAY});
  EXPECT_EQ(view_->LinkText(), u"Play on Browser");
  EXPECT_TRUE(view_->LinkShown());
  EXPECT_EQ(view_->LinkColor(), kLinkColor);
  EXPECT_FALSE(host_.Running(ClientView::kOfferLinkTimer));
}

TEST_F(ClientViewMouseTest, ReleaseOnMinimiseAsksTheOwnerToMinimiseAndDropsTheHoverAtOnce) {
  view_->OnMouseMove(Centre(minimise_));
  const int immediate = host_.immediate_repaints;
  EXPECT_TRUE(view_->OnLeftButtonUp(Centre(minimise_)));
  EXPECT_EQ(host_.owner_messages, std::vector<uint32_t>{controller::WM_MINIMIZE_BUTTON});
  EXPECT_FALSE(view_->minimise_hovered());
  EXPECT_EQ(host_.immediate_repaints, immediate + 1) << "drawn before the window goes";
  EXPECT_TRUE(view_->LinkText().empty());
}

TEST_F(ClientViewMouseTest, ReleaseOutsideThePicturesIsLeftToTheOwner) {
  EXPECT_FALSE(view_->OnLeftButtonUp(Point{4, 10}));
  EXPECT_TRUE(view_->OnLeftButtonUp(Point{279, 132})) << "the header takes it, nothing happens";
  EXPECT_TRUE(host_.owner_messages.empty());
}

}  // namespace
}  // namespace qv::ui::test
