// MainWindow: the "QVorvaneDownloader" window, the main view's (MainView) native window: a
// layered popup with the frame picture, the owner of the progress window and of the tray icon.
//
// Besides what the view asks (MainHost), it answers the system: WM_COPYDATA from a second start
// shows both windows; WM_CLOSE is the view's close to the tray; the end of the session
// (WM_QUERYENDSESSION, then WM_ENDSESSION) runs `session_ending` (the program stops the
// installation's loops there, as after the message loop) before the system ends the process, and
// ends the message loop with 0 in case the system lets the program end by itself.
//
// Threads: made, used and destroyed on the UI thread; the view's worker-side entries and
// PostViewMessage from any thread. The program stops the controller before it destroys this.
#pragma once

#include "platform/win32/windows_api.h"

#include <functional>
#include <memory>

#include "ui/core/main_view.h"
#include "ui/win32/native_window.h"
#include "ui/win32/progress_window.h"
#include "ui/win32/tray_icon.h"
#include "ui/win32/win32_ui_dispatcher.h"

namespace qv::ui::win32 {

class MainWindow final : public MainHost, private NativeWindow::Handler {
 public:
  MainWindow(MainViewSetup setup, std::function<void()> session_ending);
  ~MainWindow() override;

  // Makes the window and lets the view create itself (the progress window, the tray icon);
  // false when either window or the frame picture cannot be had.
  bool Create();
  MainView& view() { return *view_; }
  HWND handle() const { return window_.handle(); }
  ProgressWindow* progress() { return progress_.get(); }

  // ViewHost.
  void StartTimer(int id, int interval_ms) override { window_.StartTimer(id, interval_ms); }
  void StopTimer(int id) override { window_.StopTimer(id); }
  void Repaint() override { window_.Repaint(); }
  void RepaintNow() override { window_.RepaintNow(); }
  void PostViewMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override {
    window_.Post(number, wparam, lparam);
  }
  // MainHost.
  Rect WorkArea() const override;
  Rect WindowRect() const override;
  void SetWindowRect(const Rect& window_rect) override;
  ClientView* CreateProgressWindow(const Rect& window_rect,
                                   ClientView::Delegate& delegate) override;
  void ShowMain() override;
  void HideMain() override;
  void MinimiseMain() override;
  bool MainShownNormally() const override;
  void HideProgress() override;
  void CreateTrayIcon(std::string_view tip) override;
  void ShowTrayIcon() override { tray_.Show(); }
  bool TrayIconShown() const override { return tray_.shown(); }
  bool TrayAvailable() const override { return TrayIcon::Available(); }
  void UseProgramIcon() override;
  void ShowNoConnectionBox(std::string_view caption, std::string_view text) override;
  void OpenUrl(const std::string& url) override;
  void Quit(int exit_code) override;
  void BeginDrag() override;
  void RunLater(std::function<void()> call) override;

 private:
  std::optional<LRESULT> OnWindowMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  Surface Compose() override;
  void Presented() override;
  // A first frame of either window reached the screen; once both did, the progress window is
  // stacked above this one.
  void FirstFramePresented(bool progress);

  util::AppFolders& folders_;
  core::MessageLoopContext& loops_;
  std::function<void()> session_ending_;
  NativeWindow window_{*this};
  TrayIcon tray_;
  Win32UiDispatcher later_;
  std::unique_ptr<ProgressWindow> progress_;
  bool main_frame_presented_ = false;
  bool progress_frame_presented_ = false;
  std::unique_ptr<MainView> view_;
};

}  // namespace qv::ui::win32
