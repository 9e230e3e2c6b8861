// ClientDlg's mouse input: the two buttons with their hover state and hand cursor, and input
// outside the pictures passed on to the owner.
#include <QCoreApplication>
#include <QMouseEvent>

#include "controller/window_messages.h"
#include "ui/client_dlg.h"
#include "ui/client_layout.h"
#include "ui/window_message.h"

namespace qv::ui {
namespace {

bool IsMouseEvent(QEvent::Type type) {
  return type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
         type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
}

}  // namespace

bool ClientDlg::event(QEvent* event) {
  if (IsMouseEvent(event->type())) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint point = mouse->position().toPoint();
    if (!TakesMouseAt(point)) {
      // Where the window system has no input shape the pointer leaves the buttons here.
      if (event->type() == QEvent::MouseMove) ClearHover();
      PassMouseToOwner(*mouse);
      return true;
    }
    const bool taken = event->type() == QEvent::MouseMove      ? HandleMouseMove(point)
                       : event->type() == QEvent::MouseButtonRelease ? HandleMouseRelease(point)
                                                                     : false;
    if (taken) return true;
  } else if (event->type() == QEvent::Leave) {
    ClearHover();
  }
  return LayeredWindow::event(event);
}

bool ClientDlg::HandleMouseMove(const QPoint& point) {
  const bool on_close = close_rect_.contains(point);
  const bool on_minimise = minimise_rect_.contains(point);
  if (on_close || on_minimise) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
  if (on_close) {
    if (!close_hover_) {
      close_hover_ = true;
      update();
    }
    return true;
  }
  if (on_minimise) {
    if (!minimise_hover_) {
      minimise_hover_ = true;
      update();
    }
    return true;
  }
  return false;
}

bool ClientDlg::HandleMouseRelease(const QPoint& point) {
  QWidget* owner = parentWidget();
  if (close_rect_.contains(point)) {
    update();
    if (owner != nullptr) PostWindowMessage(owner, controller::WM_CLOSE_TO_TRAY);
    // Whoever closes the installer is offered the game in the browser at once.
    link_color_ = kLinkColor;
    offer_link_timer_.stop();
    OfferLink();
    return true;
  }
  if (minimise_rect_.contains(point)) {
    minimise_hover_ = false;
    repaint();
    if (owner != nullptr) PostWindowMessage(owner, controller::WM_MINIMIZE_BUTTON);
    return true;
  }
  return false;
}

void ClientDlg::ClearHover() {
  if (!close_hover_ && !minimise_hover_) return;
  close_hover_ = false;
  minimise_hover_ = false;
  unsetCursor();
  update();
}

void ClientDlg::ResetButtonHover() {
  close_hover_ = false;
  minimise_hover_ = false;
  update();
}

void ClientDlg::PassMouseToOwner(const QMouseEvent& event) {
  QWidget* owner = parentWidget();
  if (owner == nullptr) return;
  const QPointF global = event.globalPosition();
  QMouseEvent passed(event.type(), owner->mapFromGlobal(global), global, event.button(),
                     event.buttons(), event.modifiers(), event.pointingDevice());
  QCoreApplication::sendEvent(owner, &passed);
}

}  // namespace qv::ui
