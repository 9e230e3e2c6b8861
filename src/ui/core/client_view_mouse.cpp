// ClientView's mouse input: the two buttons with their hover state and hand cursor; input
// outside the pictures is left to the backend, which passes it on to the owner.
#include "controller/window_messages.h"
#include "ui/core/client_layout.h"
#include "ui/core/client_view.h"

namespace qv::ui {

bool ClientView::OnMouseMove(Point point) {
  if (!TakesMouseAt(point)) {
    // Where the window system has no input shape the pointer leaves the buttons here.
    ClearHover();
    return false;
  }
  const bool on_close = close_rect_.Contains(point);
  const bool on_minimise = minimise_rect_.Contains(point);
  host_.SetHandCursor(on_close || on_minimise);
  if (on_close && !close_hover_) {
    close_hover_ = true;
    host_.Repaint();
  } else if (on_minimise && !minimise_hover_) {
    minimise_hover_ = true;
    host_.Repaint();
  }
  return true;
}

bool ClientView::OnLeftButtonUp(Point point) {
  if (!TakesMouseAt(point)) return false;
  if (close_rect_.Contains(point)) {
    host_.Repaint();
    host_.PostOwnerMessage(controller::WM_CLOSE_TO_TRAY);
    // Whoever closes the installer is offered the game in the browser at once.
    link_color_ = kLinkColor;
    StopTimer(kOfferLinkTimer);
    OfferLink();
  } else if (minimise_rect_.Contains(point)) {
    minimise_hover_ = false;
    host_.RepaintNow();
    host_.PostOwnerMessage(controller::WM_MINIMIZE_BUTTON);
  }
  return true;
}

void ClientView::OnMouseLeave() { ClearHover(); }

void ClientView::ClearHover() {
  if (!close_hover_ && !minimise_hover_) return;
  close_hover_ = false;
  minimise_hover_ = false;
  host_.SetHandCursor(false);
  host_.Repaint();
}

void ClientView::ResetButtonHover() {
  close_hover_ = false;
  minimise_hover_ = false;
  host_.Repaint();
}

}  // namespace qv::ui
