// ProgressWindow: the "QVorvaneClient" window, the progress view's (ClientView) native window: a
// layered tool popup owned by the main window, kept 13 px inside it by the main view.
//
// The view's pictures take the mouse, its text and empty areas do not: the window answers its
// hit test with HTTRANSPARENT outside the view's input region, so the system hands that input to
// the main window beneath (the drag strip, the link). Hover over the buttons asks for a leave
// notification (TrackMouseEvent); the buttons show the hand cursor.
//
// Threads: made, used and destroyed on the UI thread; PostViewMessage from any thread.
#pragma once

#include "platform/win32/windows_api.h"

#include <functional>
#include <memory>

#include "ui/core/client_view.h"
#include "ui/win32/gdi_text_renderer.h"
#include "ui/win32/native_window.h"

namespace qv::ui::win32 {

class ProgressWindow final : public ClientHost, private NativeWindow::Handler {
 public:
  // `presented` runs after each frame that reached the window system.
  ProgressWindow(ClientView::Delegate& delegate, util::AppFolders& folders,
                 core::MessageLoopContext& loops, std::function<void()> presented);
  ~ProgressWindow() override;

  // Makes the window at `window_rect` (screen coordinates) owned by `owner` and hands it to the
  // view (OnCreated); false when the system refuses it.
  bool Create(const Rect& window_rect, HWND owner);
  ClientView& view() { return *view_; }
  HWND handle() const { return window_.handle(); }
  // Puts the window on screen above its owner again, also where the window system keeps its own
  // stacking beside the system's z-order (Wine gives a per-pixel-alpha window a new X window on
  // its first frame, stacked on top of the others).
  void RaiseAboveOwner();

  // ViewHost.
  void StartTimer(int id, int interval_ms) override { window_.StartTimer(id, interval_ms); }
  void StopTimer(int id) override { window_.StopTimer(id); }
  void Repaint() override { window_.Repaint(); }
  void RepaintNow() override { window_.RepaintNow(); }
  void PostViewMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override {
    window_.Post(number, wparam, lparam);
  }
  // ClientHost.
  void SetGeometry(const Rect& window_rect) override;
  void Show() override;
  void ShowWithOwner() override;
  bool OwnerShown() const override;
  void SetInputRegion(const Region& region) override { input_region_ = region; }
  void SetHandCursor(bool hand) override;
  void PostOwnerMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override;

 private:
  std::optional<LRESULT> OnWindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  Surface Compose() override;
  void Presented() override;
  void TrackLeave();

  NativeWindow window_{*this};
  GdiTextRenderer text_;
  Region input_region_;
  bool hand_cursor_ = false;
  bool tracking_leave_ = false;
  std::function<void()> presented_;
  std::unique_ptr<ClientView> view_;
};

}  // namespace qv::ui::win32
