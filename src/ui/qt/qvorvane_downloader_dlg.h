// QvorvaneDownloaderDlg: the installer's main window on Qt, hosting a MainView (which decides
// everything the window shows and does) and making the progress window (ClientDlg) for it.
//
// It is a frameless layered window; the view's numbered messages come as window messages on the
// Qt event loop, the tray icon (QSystemTrayIcon) clicks become WM_TRAY_ICON with the mouse message
// they stand for, the no-connection box is a QMessageBox, the game page opens through
// QDesktopServices, the drag strip hands the drag to the window system (startSystemMove).
//
// Threads: made, created, shown and destroyed on the UI thread, where all its events run; the
// install controller calls the view (an InstallerWindows) from its worker threads. The program
// stops the controller before it destroys the window.
//
// Ownership: the program owns the window; the window owns the view, the progress window and the
// tray icon; the folders and the loop registry are borrowed and outlive the window.
#pragma once

#include <QMouseEvent>
#include <functional>
#include <memory>
#include <string>

#include "ui/core/main_view.h"
#include "ui/qt/client_dlg.h"
#include "ui/qt/layered_window.h"
#include "ui/qt/view_timers.h"

class QSystemTrayIcon;

namespace qv::ui {

// What the main window works with: the view's setup, and what tests steer of the desktop.
struct MainWindowSetup : MainViewSetup {
  // Opens the game page; empty: the desktop's default browser.
  std::function<void(const std::string& url)> open_url;
  // Whether the desktop has a notification area for the tray icon; empty: asks the desktop.
  std::function<bool()> tray_available;
};

class QvorvaneDownloaderDlg final : public LayeredWindow, public MainHost {
 public:
  explicit QvorvaneDownloaderDlg(MainWindowSetup setup);
  // Removes the tray icon.
  ~QvorvaneDownloaderDlg() override;

  // The view's Create: makes the window and the progress window and shows both; the installation
  // starts after their first frames. False (and nothing shown) when the frame picture or the
  // progress window cannot be made.
  bool Create() { return view_.Create(); }

  MainView& view() { return view_; }
  ClientDlg* client() { return client_.get(); }
  // Null until Create; visible once the first close added it.
  QSystemTrayIcon* tray_icon() { return tray_.get(); }
  // The Qt timer id of the wait for the first frames, 0 when it is not running (tests deliver
  // its QTimerEvent).
  int FirstFrameTimerId() const { return timers_.QtIdOf(MainView::kFirstFrameTimer); }

  // MainHost.
  void StartTimer(int id, int interval_ms) override { timers_.Start(id, interval_ms); }
  void StopTimer(int id) override { timers_.Stop(id); }
  void Repaint() override { update(); }
  void RepaintNow() override { repaint(); }
  void PostViewMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override;
  Rect WorkArea() const override;
  Rect WindowRect() const override;
  void SetWindowRect(const Rect& window_rect) override;
  ClientView* CreateProgressWindow(const Rect& window_rect,
                                   ClientView::Delegate& delegate) override;
  void ShowMain() override;
  void HideMain() override { hide(); }
  void MinimiseMain() override { showMinimized(); }
  bool MainShownNormally() const override { return isVisible() && !isMinimized(); }
  void HideProgress() override;
  void CreateTrayIcon(std::string_view tip) override;
  void ShowTrayIcon() override;
  bool TrayIconShown() const override;
  bool TrayAvailable() const override;
  void UseProgramIcon() override;
  void ShowNoConnectionBox(std::string_view caption, std::string_view text) override;
  void OpenUrl(const std::string& url) override;
  void Quit(int exit_code) override;
  void BeginDrag() override;
  void RunLater(std::function<void()> call) override;

 protected:
  void Render(Surface& surface) override { view_.Render(surface); }
  void OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override {
    view_.HandleMessage(number, wparam, lparam);
  }
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  util::AppFolders& folders_;
  core::MessageLoopContext& loops_;
  std::function<void(const std::string& url)> open_url_;
  std::function<bool()> tray_available_;
  ViewTimers timers_{this};
  std::unique_ptr<ClientDlg> client_;
  std::unique_ptr<QSystemTrayIcon> tray_;
  MainView view_;  // last: gone before the windows it asks for
};

}  // namespace qv::ui
