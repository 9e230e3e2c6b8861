#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ui/core/client_layout.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "ui/qt/surface_image.h"
#include "ui_test_support.h"

namespace qv::ui::test {
namespace {

// What a compositing window manager shows: the main window's frame with the progress window
// over it, premultiplied source-over per pixel, so the text's alpha-0 colour adds to the panel.
// (QPainter skips source pixels of alpha 0, so it cannot stand in for the compositor.)
QImage Composed(LayeredWindow& owner, ClientDlg& dlg) {
  QImage screen = ToQImage(owner.RenderSurface());
  const QImage top = ToQImage(dlg.RenderSurface());
  for (int y = 0; y < top.height(); ++y) {
    for (int x = 0; x < top.width(); ++x) {
      const QRgb s = top.pixel(x, y);
      const QRgb d = screen.pixel(x + kClientInset, y + kClientInset);
      const int rest = 255 - qAlpha(s);
      auto over = [rest](int source, int target) {
        return std::min(255, source + (target * rest + 127) / 255);
      };
      screen.setPixel(x + kClientInset, y + kClientInset,
                      qRgba(over(qRed(s), qRed(d)), over(qGreen(s), qGreen(d)),
                            over(qBlue(s), qBlue(d)), over(qAlpha(s), qAlpha(d))));
    }
  }
  return screen;
}

bool Near(QRgb pixel, int red, int green, int blue, int tolerance = 6) {
  return std::abs(qRed(pixel) - red) <= tolerance && std::abs(qGreen(pixel) - green) <= tolerance &&
         std::abs(qBlue(pixel) - blue) <= tolerance;
}

using RenderedFrameTest = ClientDlgTest;

TEST_F(RenderedFrameTest, ProgressWindowOverTheFrameShowsPanelBarHeaderAndText) {
  view_->ApplyGameInfo(MakeGame("Tides of Valoria III", "1001", "s7"), 0);
  DeliverMessages();
  ShowStatus(0, 60, u"Downloading...");
  FireTimer(ClientView::kOfferLinkTimer);
  const QImage screen = Composed(owner_, *dlg_);
  if (const char* shot = std::getenv("QV_UI_SHOT")) screen.save(QString::fromLocal8Bit(shot));

  const QImage frame = ToQImage(LoadPictureFromResource(kFramePicture));
  const QImage banner = ToQImage(LoadPictureFromResource(kDefaultHeaderPicture));
  auto at = [&](int client_x, int client_y) {
    return screen.pixel(client_x + kClientInset, client_y + kClientInset);
  };
  // The frame's shadow is translucent, its panel opaque and untouched where nothing is drawn.
  EXPECT_LT(qAlpha(screen.pixel(2, 2)), 255);
  EXPECT_EQ(at(540, 300), frame.pixel(540 + kClientInset, 300 + kClientInset));
  EXPECT_EQ(qAlpha(at(540, 300)), 255);
  // Header banner, bar fill up to 38 + 5 * 60 = 338, the track after it.
  EXPECT_EQ(at(279, 132), banner.pixel(279, 102));
  EXPECT_TRUE(Near(at(200, 350), 248, 148, 0)) << std::hex << at(200, 350);
  EXPECT_TRUE(Near(at(330, 350), 248, 148, 0));
  EXPECT_TRUE(Near(at(345, 350), 61, 70, 77)) << std::hex << at(345, 350);
  // The orange fill starts at the rounded left end.
  EXPECT_TRUE(Near(at(19, 350), 248, 148, 0));
  // The buttons are the grey pictures.
  const QImage close = ToQImage(LoadPictureFromResource(kClosePicture));
  const Rect close_rect = CloseButtonRect(558);
  EXPECT_EQ(ToQImage(dlg_->RenderSurface())
                .copy(QRect(close_rect.left, close_rect.top, close_rect.width, close_rect.height)),
            close);
  // Text adds its colour to the panel: the status line is brighter than the panel beside it.
  int brighter = 0;
  for (int x = 16; x < 120; ++x) {
    for (int y = 360; y < 378; ++y) {
      if (qGray(at(x, y)) > qGray(at(540, 300)) + 30) ++brighter;
    }
  }
  EXPECT_GT(brighter, 30);
}

TEST_F(RenderedFrameTest, EachPaintStartsFromATransparentSurfaceOfTheWindowsSize) {
  const QImage first = ToQImage(dlg_->RenderSurface());
  EXPECT_EQ(first.size(), QSize(558, 384));
  EXPECT_EQ(first.format(), QImage::Format_ARGB32_Premultiplied);
  view_->ShowDefaultHeader();
  DeliverMessages();
  ASSERT_NE(ToQImage(dlg_->RenderSurface()), first);
  // Nothing is left behind from a previous paint: the header area is empty again without it.
  auto fresh = std::make_unique<ClientDlg>(&delegate_, folders_, *loops_);
  ASSERT_TRUE(fresh->Create(&owner_, view_->WindowRect()));
  EXPECT_EQ(ToQImage(fresh->RenderSurface()), first);
}

}  // namespace
}  // namespace qv::ui::test
