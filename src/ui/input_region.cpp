#include "ui/input_region.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <vector>

namespace qv::ui {
namespace {

// The runs of alpha above 0 on row `y`, as [left, right) pairs.
std::vector<std::pair<int, int>> OpaqueRuns(const QImage& surface, int y) {
  std::vector<std::pair<int, int>> runs;
  const auto* row = reinterpret_cast<const QRgb*>(surface.constScanLine(y));
  int x = 0;
  const int width = surface.width();
  while (x < width) {
    while (x < width && qAlpha(row[x]) == 0) ++x;
    const int left = x;
    while (x < width && qAlpha(row[x]) != 0) ++x;
    if (x > left) runs.emplace_back(left, x);
  }
  return runs;
}

}  // namespace

QRegion OpaqueRegion(const QImage& surface) {
  if (surface.format() != QImage::Format_ARGB32_Premultiplied) {
    return OpaqueRegion(surface.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
  // Rows with the same runs form one band of rectangles, bands top to bottom, runs left to right
  // (the order QRegion::setRects expects).
  std::vector<QRect> rects;
  std::vector<std::pair<int, int>> band_runs;
  int band_top = 0;
  auto close_band = [&](int bottom) {
    for (const auto& [left, right] : band_runs) {
      rects.emplace_back(left, band_top, right - left, bottom - band_top);
    }
  };
  for (int y = 0; y < surface.height(); ++y) {
    auto runs = OpaqueRuns(surface, y);
    if (runs == band_runs) continue;
    close_band(y);
    band_runs = std::move(runs);
    band_top = y;
  }
  close_band(surface.height());
  QRegion region;
  region.setRects(rects.data(), static_cast<int>(rects.size()));
  return region;
}

void SetInputShape(QWidget& window, const QRegion& region) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  std::vector<xcb_rectangle_t> rects;
  rects.reserve(static_cast<size_t>(region.rectCount()));
  for (const QRect& rect : region) {
    rects.push_back({static_cast<int16_t>(rect.x()), static_cast<int16_t>(rect.y()),
                     static_cast<uint16_t>(rect.width()), static_cast<uint16_t>(rect.height())});
  }
  xcb_connection_t* connection = x11->connection();
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                       XCB_CLIP_ORDERING_UNSORTED, static_cast<xcb_window_t>(window.winId()), 0, 0,
                       static_cast<uint32_t>(rects.size()), rects.data());
  xcb_flush(connection);
}

}  // namespace qv::ui
