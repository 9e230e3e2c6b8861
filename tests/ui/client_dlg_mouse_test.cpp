#include <gtest/gtest.h>

#include <QTest>

#include "controller/window_messages.h"
#include "ui/client_layout.h"
#include "ui/image_loader.h"
#include "ui/input_region.h"
#include "ui/core/picture_ids.h"
#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

class ClientDlgMouseTest : public ClientDlgTest {
 protected:
  ClientDlgMouseTest() {
    dlg_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s1"), 0);  // default header
    DeliverMessages();
    ShowStatus(0, 50, u"Downloading...");
    dlg_->RenderSurface();
  }

  // A pixel of `area` that text coloured but left transparent, or (-1, -1).
  QPoint TextPixelIn(const QRect& area) {
    const QImage surface = dlg_->RenderSurface();
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QRgb pixel = surface.pixel(x, y);
        if (qAlpha(pixel) == 0 && qGray(pixel) > 40) return {x, y};
      }
    }
    return {-1, -1};
  }

  // Whether the surface shows `picture` at `where`, pixel for pixel.
  bool ShowsPicture(const QPoint& where, int picture_id) {
    const QImage surface = dlg_->RenderSurface();
    const QImage picture = LoadImageFromResource(picture_id);
    return surface.copy(QRect(where, picture.size())) == picture;
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

  const QRect close_ = CloseButtonRect(558);
  const QRect minimise_ = MinimiseButtonRect(558);
};

// The region set when the window is laid out, before any paint, is the one a whole rendering
// (texts included) gives: the first presses after showing go where the pictures are.
TEST_F(ClientDlgTest, InputRegionBeforeTheFirstPaintIsThatOfTheWholeRendering) {
  const QRegion laid_out = dlg_->InputRegion();
  EXPECT_FALSE(laid_out.isEmpty());
  EXPECT_EQ(laid_out, OpaqueRegion(dlg_->RenderSurface()));

  dlg_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s1"), 0);  // default header
  DeliverMessages();
  const QRegion with_header = dlg_->InputRegion();
  EXPECT_EQ(with_header, OpaqueRegion(dlg_->RenderSurface()));
}

TEST_F(ClientDlgMouseTest, OnlyOpaquePicturePixelsTakeTheMouse) {
  const QPoint title_text = TextPixelIn(TitleRect());
  const QPoint status_text = TextPixelIn(StatusRect());
  const QPoint description_text = TextPixelIn(DescriptionRect());
  ASSERT_NE(title_text, QPoint(-1, -1));
  ASSERT_NE(status_text, QPoint(-1, -1));
  ASSERT_NE(description_text, QPoint(-1, -1));
  struct Case {
    const char* where;
    QPoint point;
    bool taken;
  };
  const Case cases[] = {
      {"header", {279, 132}, true},
      {"header's first row", {0, 30}, true},
      {"close button corner (alpha 1)", close_.topLeft(), true},
      {"close button centre", close_.center(), true},
      {"minimise button corner", minimise_.bottomRight(), true},
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
  for (const Case& c : cases) EXPECT_EQ(dlg_->TakesMouseAt(c.point), c.taken) << c.where;
  EXPECT_EQ(dlg_->InputRegion().boundingRect(), EdgeRect(0, 8, 558, 355));
}

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
  EXPECT_TRUE(dlg_->close_hovered());
  EXPECT_EQ(dlg_->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(ShowsPicture(close_.topLeft(), kCloseHoverPicture));

  MoveTo(minimise_.center());
  EXPECT_TRUE(dlg_->minimise_hovered());
  EXPECT_TRUE(ShowsPicture(minimise_.topLeft(), kMinimiseHoverPicture));

  Leave();
  EXPECT_FALSE(dlg_->close_hovered());
  EXPECT_FALSE(dlg_->minimise_hovered());
  EXPECT_EQ(dlg_->cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(ShowsPicture(close_.topLeft(), kClosePicture));
  EXPECT_TRUE(ShowsPicture(minimise_.topLeft(), kMinimisePicture));
}

TEST_F(ClientDlgMouseTest, MovingOntoTextLeavesTheButtonsLikeLeavingTheWindow) {
  MoveTo(close_.center());
  ASSERT_TRUE(dlg_->close_hovered());
  MoveTo(QPoint(4, 10));
  EXPECT_FALSE(dlg_->close_hovered());
  EXPECT_EQ(dlg_->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ClientDlgMouseTest, ShowingOrHidingTheWindowsResetsTheHover) {
  MoveTo(close_.center());
  dlg_->ResetButtonHover();
  EXPECT_FALSE(dlg_->close_hovered());
  EXPECT_TRUE(ShowsPicture(close_.topLeft(), kClosePicture));
}

TEST_F(ClientDlgMouseTest, ReleaseOnCloseAsksTheOwnerToCloseToTheTrayAndOffersTheLink) {
  dlg_->SetLinkColor(kLinkPressedColor);
  ASSERT_NE(dlg_->TimerId(ClientDlg::Timer::kOfferLink), 0);
  // No press before: a release on the button acts on its own.
  QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, close_.center());
  DeliverMessages();
  EXPECT_EQ(owner_.messages, std::vector<uint32_t>{controller::WM_CLOSE_TO_TRAY});
  EXPECT_EQ(dlg_->LinkText(), u"Play on Browser");
  EXPECT_TRUE(dlg_->LinkShown());
  EXPECT_EQ(dlg_->LinkColor(), kLinkColor);
  EXPECT_EQ(dlg_->TimerId(ClientDlg::Timer::kOfferLink), 0);
  EXPECT_TRUE(owner_.mouse.empty());
}

TEST_F(ClientDlgMouseTest, OtherButtonsDoNotPressTheWindowsButtons) {
  QTest::mouseRelease(dlg_.get(), Qt::RightButton, {}, close_.center());
  QTest::mouseRelease(dlg_.get(), Qt::MiddleButton, {}, minimise_.center());
  DeliverMessages();
  EXPECT_TRUE(owner_.messages.empty());
  EXPECT_TRUE(dlg_->LinkText().empty());
}

TEST_F(ClientDlgMouseTest, ReleaseOnMinimiseAsksTheOwnerToMinimiseAndDropsTheHover) {
  MoveTo(minimise_.center());
  QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, minimise_.center());
  DeliverMessages();
  EXPECT_EQ(owner_.messages, std::vector<uint32_t>{controller::WM_MINIMIZE_BUTTON});
  EXPECT_FALSE(dlg_->minimise_hovered());
  EXPECT_TRUE(dlg_->LinkText().empty());
}

}  // namespace
}  // namespace qv::ui::test
