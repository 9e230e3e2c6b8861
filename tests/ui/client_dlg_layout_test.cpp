// The Qt progress window: its native window, placement and visibility beside its owner, and the
// description set with real fonts.
#include <gtest/gtest.h>

#include "ui/core/client_layout.h"
#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

using ClientDlgLayoutTest = ClientDlgTest;

QRect ToQRect(const Rect& rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }

TEST_F(ClientDlgLayoutTest, WindowIsAFramelessToolWindowOwnedByTheMainWindowInsideItsFrame) {
  EXPECT_EQ(owner_.size(), QSize(584, 410));
  EXPECT_TRUE(view_->HasWindow());
  EXPECT_EQ(dlg_->parentWidget(), &owner_);
  EXPECT_TRUE(dlg_->isWindow());
  EXPECT_TRUE(dlg_->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(dlg_->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(dlg_->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_EQ(dlg_->windowTitle(), "QVorvaneClient");
  EXPECT_TRUE(dlg_->isVisible());
  EXPECT_TRUE(owner_.isVisible());
  EXPECT_EQ(dlg_->geometry(), QRect(113, 93, 558, 384));
  EXPECT_EQ(ToQRect(view_->WindowRect()), dlg_->geometry());
}

TEST_F(ClientDlgLayoutTest, PlacingMovesAndShowsTheWindowAtTheNewRectangle) {
  dlg_->hide();
  const Rect moved{300, 200, 558, 384};
  view_->PlaceAt(moved);
  EXPECT_EQ(view_->WindowRect(), moved);
  EXPECT_EQ(dlg_->geometry(), ToQRect(moved));
  EXPECT_TRUE(dlg_->isVisible());
}

TEST_F(ClientDlgLayoutTest, LayoutShowsTheWindowOnlyWithItsOwner) {
  // Closed to the tray: a late game record must not bring the content up without its frame.
  owner_.hide();
  dlg_->hide();
  view_->ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);
  DeliverMessages();
  EXPECT_FALSE(dlg_->isVisible());

  owner_.show();
  view_->ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);
  DeliverMessages();
  EXPECT_TRUE(dlg_->isVisible());
}

TEST_F(ClientDlgLayoutTest, OverlongDescriptionStaysInsideItsRectangle) {
  auto render_with = [&](const std::string& desc) {
    view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "", desc), 0);
    DeliverMessages();
    ShowStatus(0, 30, u"Downloading...");
    return dlg_->RenderSurface();
  };
  std::string overlong;
  while (overlong.size() < 500) overlong += "Sail the shattered seas of Valoria. ";
  const Surface short_text = render_with("Sail.");
  const Surface long_text = render_with(overlong);
  // Everything from the bar down is the same as with a one-word description, and nothing lies
  // right of the description's rectangle between the header and the bar.
  for (int y = 235; y < 384; ++y) {
    for (int x = 0; x < 558; ++x) {
      const bool description = y < 345 && x < DescriptionRect().Right();
      if (!description) {
        ASSERT_EQ(long_text.PixelAt(x, y), short_text.PixelAt(x, y)) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace qv::ui::test
