// ClientDlg's mouse input: the two buttons with their hover state and hand cursor, and input
// outside the pictures passed on to the owner.
#include <QCoreApplication>
#include <QMouseEvent>

#include "controller/window_messages.h"
#include "ui/client_dlg.h"
#include "ui/client_layout.h"
#include "ui/window_message.h"

namespace qv::ui {

bool ClientDlg::OnMouse(QMouseEvent& event) {
  const QPoint point = event.position().toPoint();
  if (!TakesMouseAt(point)) {
    // Where the window system has no input shape the pointer leaves the buttons here.
    if (event.type() == QEvent::MouseMove) ClearHover();
    PassMouseToOwner(event);
    return true;
  }
  if (event.type() == QEvent::MouseMove) return HandleMouseMove(point);
  if (event.type() == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton) {
    return HandleMouseRelease(point);
  }
  return false;
}

void ClientDlg::leaveEvent(QEvent* event) {
  ClearHover();
  LayeredWindow::leaveEvent(event);
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
