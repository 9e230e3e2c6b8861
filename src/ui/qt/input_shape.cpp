#include "ui/qt/input_shape.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <vector>

namespace qv::ui {

void SetInputShape(QWidget& window, const Region& region) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  std::vector<xcb_rectangle_t> rects;
  rects.reserve(region.rects.size());
  for (const Rect& rect : region.rects) {
    rects.push_back({static_cast<int16_t>(rect.left), static_cast<int16_t>(rect.top),
                     static_cast<uint16_t>(rect.width), static_cast<uint16_t>(rect.height)});
  }
  xcb_connection_t* connection = x11->connection();
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                       XCB_CLIP_ORDERING_UNSORTED, static_cast<xcb_window_t>(window.winId()), 0, 0,
                       static_cast<uint32_t>(rects.size()), rects.data());
  xcb_flush(connection);
}

}  // namespace qv::ui
