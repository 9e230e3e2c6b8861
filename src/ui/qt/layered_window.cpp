#include "ui/qt/layered_window.h"

#include <QPainter>

#include "ui/qt/surface_image.h"
#include "ui/qt/window_message.h"

namespace qv::ui {

LayeredWindow::LayeredWindow(QWidget* owner, Qt::WindowFlags flags)
    : QWidget(owner, flags | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
}

LayeredWindow::~LayeredWindow() = default;

Surface LayeredWindow::RenderSurface() {
  Surface surface(width(), height());
  if (!surface.IsNull()) Render(surface);
  return surface;
}

void LayeredWindow::OnWindowMessage(uint32_t, uintptr_t, intptr_t) {}

bool LayeredWindow::OnMouse(QMouseEvent&) { return false; }

bool LayeredWindow::event(QEvent* event) {
  SyncWithPosters();
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      if (OnMouse(*static_cast<QMouseEvent*>(event))) return true;
      break;
    default:
      if (event->type() == WindowMessageEvent::EventType()) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        OnWindowMessage(message->number(), message->wparam(), message->lparam());
        return true;
      }
      break;
  }
  return QWidget::event(event);
}

void LayeredWindow::paintEvent(QPaintEvent*) {
  Surface surface = RenderSurface();
  if (surface.IsNull()) return;  // the previous content stays
  QPainter painter(this);
  // The surface replaces the window's pixels, alpha included.
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(0, 0, WrapSurface(surface));
}

}  // namespace qv::ui
