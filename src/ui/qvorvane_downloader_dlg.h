// QvorvaneDownloaderDlg: the installer's main window, the switchboard between the user, the
// progress window (ClientDlg) and the install controller.
//
// It is a frameless layered window showing the frame picture; the progress window, which it
// creates and owns, sits 13 px inside it and draws everything else. Presses that fall through the
// progress window land here: the top strip (client y below 50) drags the window, the link
// rectangle of the progress window opens the game page. The close button and the system's close
// command hide both windows to the tray (the tray icon is added at the first close and stays);
// on a desktop without a notification area, where a hidden window could never be brought back,
// they minimise both instead. The minimise button minimises; a left click on the tray icon and a
// second start of the program show both windows again. The program ends through Quit: after the
// installation completed, after the no-connection message box, or when the window is closed
// after the installation has ended in failure (the close's statistics event is sent first).
//
// Numbered messages (controller/window_messages.h) come as window messages on the Qt event loop;
// the tray icon's clicks become WM_TRAY_ICON with the mouse message they stand for.
//
// Threads: made, created, shown and destroyed on the UI thread, where all its messages and
// events run. The controller calls the InstallerWindows side from its worker threads: the
// install record is copied under the window's lock, the progress window's data under that
// window's lock, and ReportNoConnection only posts a message. The program stops the controller
// (its Stop) before it destroys the window. Statistics events go through a ReportSender, so the
// UI thread never waits for the statistics service.
//
// Ownership: the program owns the window; the window owns the progress window, the tray icon and
// the report sender; the folders and the loop registry are borrowed and outlive the window.
#pragma once

#include <QBasicTimer>
#include <QPoint>
#include <QRect>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "controller/installer_windows.h"
#include "core/message_loop_context.h"
#include "ui/base_dlg.h"
#include "ui/client_dlg.h"
#include "ui/core/report_sender.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"

class QSystemTrayIcon;

namespace qv::ui {

class QvorvaneDownloaderDlg;

// What the main window works with. The program starts the install controller; tests give their
// own statistics endpoint, folders and URL opener.
// How long the installation waits for the first frames before it starts anyway: a window the
// system does not expose at once (on a hidden workspace, say) must not hold it up.
inline constexpr int kFirstFrameWaitMs = 1000;

struct MainWindowSetup {
  // Called once both windows are up and have handed their first frame to the window system
  // (or kFirstFrameWaitMs after Create, whichever comes first): the program hands the window to
  // the install controller (MessageContextDelegateDownloader::Start), whose threads would
  // otherwise compete with the first frame. Empty: no installation is started.
  std::function<void(QvorvaneDownloaderDlg& window)> start_installation;
  int first_frame_wait_ms = kFirstFrameWaitMs;
  std::string stats_base_url;  // empty: the build's statistics service
  util::AppFolders* folders = &util::ProcessAppFolders();
  core::MessageLoopContext* loops = &core::MessageLoopContext::Instance();
  // Opens the game page; empty: the desktop's default browser.
  std::function<void(const std::string& url)> open_url;
  // Whether the desktop has a notification area for the tray icon; empty: asks the desktop.
  std::function<bool()> tray_available;
  // The frame picture, decoded beside the application's making (PictureDecoding::Take); called
  // once by Create. Empty, or a null picture: Create decodes it.
  std::function<QImage()> frame_picture;
};

// The statistics events of the main window: event name and its code.
struct WindowEvent {
  const char* ex;
  const char* op;
};
inline constexpr WindowEvent kTrayClickEvent = {"tray_click", "10"};
inline constexpr WindowEvent kMinimiseButtonEvent = {"btn_mini", "11"};
inline constexpr WindowEvent kCloseButtonEvent = {"btn_close", "12"};
inline constexpr WindowEvent kSystemCloseEvent = {"tb_btn_close", "13"};

// The mouse messages a WM_TRAY_ICON carries in lParam.
inline constexpr intptr_t kTrayMouseMove = 0x0200;        // WM_MOUSEMOVE
inline constexpr intptr_t kTrayLeftButtonDown = 0x0201;   // WM_LBUTTONDOWN
inline constexpr intptr_t kTrayLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr intptr_t kTrayRightButtonDown = 0x0204;  // WM_RBUTTONDOWN
inline constexpr intptr_t kTrayMiddleButtonDown = 0x0207; // WM_MBUTTONDOWN

inline constexpr char kNoConnectionCaption[] = "Setup - QVorvane ";
inline constexpr char kNoConnectionText[] =
    "Can't connect to the Internet.\nPlease check your connection and try again.";
inline constexpr char kTrayTip[] = "QVorvane";

class QvorvaneDownloaderDlg final : public BaseDlg,
                                    public ClientDlg::Delegate,
                                    public controller::InstallerWindows {
 public:
  // The window is made at this size, centred in the work area, then takes the frame's size.
  static constexpr int kCreateWidth = 580;
  static constexpr int kCreateHeight = 386;
  // Presses above this client y drag the window.
  static constexpr int kDragStripHeight = 50;
  // Icon resources: large and small.
  static constexpr int kLargeIconId = 107;
  static constexpr int kSmallIconId = 108;

  explicit QvorvaneDownloaderDlg(MainWindowSetup setup);
  // Removes the tray icon.
  ~QvorvaneDownloaderDlg() override;

  // Makes the window and the progress window and shows both; the installation starts after their
  // first frames (see MainWindowSetup). False (and nothing shown) when the frame picture or the
  // progress window cannot be made.
  bool Create();

  // ClientDlg::Delegate.
  void Quit() override;
  void ReportNoConnection() override;

  // controller::InstallerWindows (worker threads).
  bool HasProgressWindow() const override;
  void ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) override;
  void ShowDefaultHeader() override;
  void StoreInstallRecord(const workflow::InstallRecord& record) override;
  void UpdateStatus(std::u16string_view key, int state_code, int percent) override;

  // UI thread. Shows, raises and activates both windows (restoring a minimised one), or hides
  // both.
  void ShowWindows(bool show);
  // The answer to a second start of the program.
  void OnShowRequest() { ShowWindows(true); }

  // Handles numbered message `number` and returns its result (WM_TRAY_ICON answers -1 for a
  // mouse message it does not handle).
  intptr_t HandleMessage(uint32_t number, uintptr_t wparam, intptr_t lparam);

  // Whether a press at `client_point` drags the window.
  static bool InDragStrip(const QPoint& client_point) {
    return client_point.y() < kDragStripHeight;
  }
  // The first position: the create size centred in `work_area`.
  static QRect CentredRect(const QRect& work_area);

  // A copy of the install record (any thread).
  workflow::InstallRecord Record() const;
  ClientDlg* client() { return client_.get(); }
  // Null until Create; visible once the first close added it.
  QSystemTrayIcon* tray_icon() { return tray_.get(); }
  // How many times the icon was added to the tray.
  int tray_icon_adds() const { return tray_icon_adds_; }
  ReportSender& reports() { return reports_; }
  // Whether setup's start_installation was called.
  bool installation_started() const { return installation_started_; }
  // The Qt timer id of the wait for the first frames, 0 when it is not running (tests deliver
  // its QTimerEvent).
  int FirstFrameTimerId() const;

 protected:
  void OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override;
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
  enum class CloseSource { kCloseButton, kSystem };

  void CloseToTray(CloseSource source);
  void Minimise();
  // Minimises both windows; the progress window comes back with the main window.
  void MinimiseWindows();
  bool TrayAvailable() const;
  void ShowNoConnection();
  void PlaceProgressWindow();
  void Report(const WindowEvent& event);
  // The press's point in the progress window's client coordinates, if it lies on its link.
  bool OnLink(const QPoint& client_point) const;
  // Notes a painted frame; once both windows painted, queues the start behind the frame's
  // hand-over to the window system (the flush follows the paint in the same event).
  void NoteFirstFrame(bool& painted);
  // After the first frames: the program's icons for the window and the tray, then the
  // installation.
  void StartInstallation();
  // Decodes the program's icons and gives them to the window and the tray icon (once).
  void UseProgramIcon();

  MainWindowSetup setup_;
  ReportSender reports_;
  std::unique_ptr<ClientDlg> client_;
  std::atomic<ClientDlg*> client_ready_{nullptr};  // client_ once it was created; for workers
  std::unique_ptr<QSystemTrayIcon> tray_;
  int tray_icon_adds_ = 0;
  bool no_connection_shown_ = false;  // the box is shown at most once
  bool frame_painted_ = false;
  bool progress_painted_ = false;
  bool start_queued_ = false;
  bool installation_started_ = false;
  bool icon_given_ = false;
  QBasicTimer first_frame_wait_;
  // Set by the controller's thread when the installation reported "Failed...", its last status.
  std::atomic<bool> installation_failed_{false};

  mutable std::mutex record_lock_;
  workflow::InstallRecord record_;  // guarded by record_lock_
};

}  // namespace qv::ui
