#include "ui/layered_window.h"

#include <QPainter>

#include "ui/window_message.h"

namespace qv::ui {

LayeredWindow::LayeredWindow(QWidget* owner, Qt::WindowFlags flags)
    : QWidget(owner, flags | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
}

LayeredWindow::~LayeredWindow() = default;

QImage LayeredWindow::RenderSurface() {
  QImage surface(size(), QImage::Format_ARGB32_Premultiplied);
  if (surface.isNull()) return surface;
  surface.fill(Qt::transparent);
  Draw(surface);
  return surface;
}

void LayeredWindow::OnWindowMessage(uint32_t, uintptr_t, intptr_t) {}

bool LayeredWindow::event(QEvent* event) {
  if (event->type() == WindowMessageEvent::EventType()) {
    const auto* message = static_cast<WindowMessageEvent*>(event);
    OnWindowMessage(message->number(), message->wparam(), message->lparam());
    return true;
  }
  return QWidget::event(event);
}

void LayeredWindow::paintEvent(QPaintEvent*) {
  const QImage surface = RenderSurface();
  if (surface.isNull()) return;  // the previous content stays
  QPainter painter(this);
  // The surface replaces the window's pixels, alpha included.
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(0, 0, surface);
}

}  // namespace qv::ui
