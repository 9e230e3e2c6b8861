#include <gtest/gtest.h>

#include <QTest>

#include "controller/window_messages.h"
#include "ui/core/client_layout.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

class ClientDlgMouseTest : public ClientDlgTest {
 protected:
  ClientDlgMouseTest() {
    view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s1"), 0);  // default header
    DeliverMessages();
    ShowStatus(0, 50, u"Downloading...");
    dlg_->RenderSurface();
  }

  // Whether the surface shows `picture` at `where`, pixel for pixel.
  bool ShowsPicture(const QPoint& where, int picture_id) {
    const Surface surface = dlg_->RenderSurface();
    const Surface picture = LoadPictureFromResource(picture_id);
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (surface.PixelAt(where.x() + x, where.y() + y) != picture.PixelAt(x, y)) return false;
      }
    }
    return !picture.IsNull();
  }

  // A move as the window system delivers it to the window under the pointer.
  void MoveTo(const QPoint& point) {
    QMouseEvent move(QEvent::MouseMove, point, dlg_->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg_.get(), &move);
  }

  void Leave() {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(dlg_.get(), &leave);
  }

  static QRect ToQRect(const Rect& rect) {
    return QRect(rect.left, rect.top, rect.width, rect.height);
  }
  const QRect close_ = ToQRect(CloseButtonRect(558));
  const QRect minimise_ = ToQRect(MinimiseButtonRect(558));
};

TEST_F(ClientDlgMouseTest, PressesOutsideThePicturesReachTheOwnerAtTheSamePlace) {
  QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, QPoint(4, 10));
  QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, QPoint(4, 10));
  ASSERT_EQ(owner_.mouse.size(), 2u);
  EXPECT_EQ(owner_.mouse[0].first, QEvent::MouseButtonPress);
  EXPECT_EQ(owner_.mouse[0].second, QPoint(4 + kClientInset, 10 + kClientInset));
  EXPECT_EQ(owner_.mouse[1].first, QEvent::MouseButtonRelease);

  owner_.mouse.clear();
  QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, QPoint(279, 132));
  QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, QPoint(279, 132));
  EXPECT_TRUE(owner_.mouse.empty()) << "the header takes the press itself";
}

TEST_F(ClientDlgMouseTest, HoveringAButtonShowsTheOrangePictureAndTheHandUntilTheMouseLeaves) {
  ASSERT_TRUE(ShowsPicture(close_.topLeft(), kClosePicture));
  MoveTo(close_.center());
  EXPECT_TRUE(view_->close_hovered());
  EXPECT_EQ(dlg_->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(ShowsPicture(close_.topLeft(), kCloseHoverPicture));

  MoveTo(minimise_.center());
  EXPECT_TRUE(view_->minimise_hovered());
  EXPECT_TRUE(ShowsPicture(minimise_.topLeft(), kMinimiseHoverPicture));

  Leave();
  EXPECT_FALSE(view_->close_hovered());
  EXPECT_FALSE(view_->minimise_hovered());
  EXPECT_EQ(dlg_->cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(ShowsPicture(close_.topLeft(), kClosePicture));
  EXPECT_TRUE(ShowsPicture(minimise_.topLeft(), kMinimisePicture));
}

TEST_F(ClientDlgMouseTest, MovingOntoTextLeavesTheButtonsLikeLeavingTheWindow) {
  MoveTo(close_.center());
  ASSERT_TRUE(view_->close_hovered());
  MoveTo(QPoint(4, 10));
  EXPECT_FALSE(view_->close_hovered());
  EXPECT_EQ(dlg_->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ClientDlgMouseTest, ShowingOrHidingTheWindowsResetsTheHover) {
  MoveTo(close_.center());
  view_->ResetButtonHover();
  EXPECT_FALSE(view_->close_hovered());
  EXPECT_TRUE(ShowsPicture(close_.topLeft(), kClosePicture));
}

TEST_F(ClientDlgMouseTest, ReleaseOnCloseAsksTheOwnerToCloseToTheTrayAndOffersTheLink) {
  view_->SetLinkColor(kLinkPressedColor);
  ASSERT_NE(dlg_->TimerId(ClientView::kOfferLinkTimer), 0);
  // No press before: a release on the button acts on its own.
  QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, close_.center());
  DeliverMessages();
  EXPECT_EQ(owner_.messages, std::vector<uint32_t>{controller::WM_CLOSE_TO_TRAY});
  EXPECT_EQ(view_->LinkText(), u"Play on Browser");
  EXPECT_TRUE(view_->LinkShown());
  EXPECT_EQ(view_->LinkColor(), kLinkColor);
  EXPECT_EQ(dlg_->TimerId(ClientView::kOfferLinkTimer), 0);
  EXPECT_TRUE(owner_.mouse.empty());
}

TEST_F(ClientDlgMouseTest, OtherButtonsDoNotPressTheWindowsButtons) {
  QTest::mouseRelease(dlg_.get(), Qt::RightButton, {}, close_.center());
  QTest::mouseRelease(dlg_.get(), Qt::MiddleButton, {}, minimise_.center());
  DeliverMessages();
  EXPECT_TRUE(owner_.messages.empty());
  EXPECT_TRUE(view_->LinkText().empty());
}

TEST_F(ClientDlgMouseTest, ReleaseOnMinimiseAsksTheOwnerToMinimiseAndDropsTheHover) {
  MoveTo(minimise_.center());
  QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, minimise_.center());
  DeliverMessages();
  EXPECT_EQ(owner_.messages, std::vector<uint32_t>{controller::WM_MINIMIZE_BUTTON});
  EXPECT_FALSE(view_->minimise_hovered());
  EXPECT_TRUE(view_->LinkText().empty());
}

}  // namespace
}  // namespace qv::ui::test
