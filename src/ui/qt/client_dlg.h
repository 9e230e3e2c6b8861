// ClientDlg: the install progress window on Qt, a frameless tool window owned by the main
// window, hosting a ClientView (which decides everything it shows and does).
//
// It gives the view its messages (WindowMessageEvent), timers, mouse input and paints. Input the
// view does not take (outside the opaque pixels of its pictures) is passed on to the owner at the
// same screen position; the view's input region becomes the window's X11 input shape, so on X11
// such input reaches the owner directly.
//
// Threads: made, created, shown and destroyed on the UI thread. The view's worker-thread entries
// post through PostViewMessage (any thread).
//
// Ownership: the main window owns it (through a unique_ptr; it is also its Qt child window); the
// view's delegate, folders and loops are borrowed and outlive it.
#pragma once

#include <QMouseEvent>
#include <QRect>

#include "core/message_loop_context.h"
#include "ui/core/client_view.h"
#include "ui/qt/layered_window.h"
#include "ui/qt/qt_text_renderer.h"
#include "ui/qt/view_timers.h"
#include "util/app_folders.h"

namespace qv::ui {

class ClientDlg final : public LayeredWindow, public ClientHost {
 public:
  ClientDlg(ClientView::Delegate* delegate, util::AppFolders& folders,
            core::MessageLoopContext& loops);
  ~ClientDlg() override;

  // Makes the window a frameless tool window owned by `owner` at `window_rect` (screen
  // coordinates), lays it out and shows it, then shows the owner. False when it cannot be made.
  bool Create(QWidget* owner, const Rect& window_rect);

  ClientView& view() { return view_; }
  // The Qt timer id of the view's running timer `id`, 0 when it is stopped (tests deliver its
  // QTimerEvent).
  int TimerId(int id) const { return timers_.QtIdOf(id); }

  // ClientHost.
  void StartTimer(int id, int interval_ms) override { timers_.Start(id, interval_ms); }
  void StopTimer(int id) override { timers_.Stop(id); }
  void Repaint() override { update(); }
  void RepaintNow() override { repaint(); }
  void PostViewMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override;
  void SetGeometry(const Rect& window_rect) override;
  void Show() override { show(); }
  void ShowWithOwner() override;
  bool OwnerShown() const override;
  void SetInputRegion(const Region& region) override;
  void SetHandCursor(bool hand) override;
  void PostOwnerMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override;

 protected:
  void Render(Surface& surface) override { view_.Render(surface, text_); }
  void OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override {
    view_.OnMessage(number, wparam, lparam);
  }
  bool OnMouse(QMouseEvent& event) override;
  void leaveEvent(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void PassMouseToOwner(const QMouseEvent& event);

  bool created_ = false;
  QtTextRenderer text_;
  ViewTimers timers_{this};
  ClientView view_;
};

}  // namespace qv::ui
