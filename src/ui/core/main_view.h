// MainView: the installer's main window without a toolkit, the switchboard between the user, the
// progress view (ClientView) and the install controller. The backend's main window
// (QvorvaneDownloaderDlg on Linux, the "QVorvaneDownloader" window on Windows) implements
// MainHost and hands the view its messages, timer expiries, presses, closes, moves and paints.
//
// Its look is the frame picture (resource 131) stretched over the window; the window takes the
// frame's size. The progress window, which the host creates for it, sits 13 px inside it and
// draws everything else. Presses that fall through the progress window land here: the top strip
// (client y below 50) drags the window, the link rectangle of the progress view opens the game
// page. The close button and the system's close command hide both windows to the tray (the tray
// icon is added at the first close and stays); on a desktop without a notification area, where a
// hidden window could never be brought back, they minimise both instead. The minimise button
// minimises; a left click on the tray icon and a second start of the program show both windows
// again. The program ends through MainHost::Quit: after the installation completed, after the
// no-connection message box, or when the window is closed after the installation has ended in
// failure (the close's statistics event is sent first).
//
// The installation starts once both windows handed their first frame to the window system (the
// backend calls OnFramePresented for each), or kFirstFrameWaitMs after Create: the program's
// icon is given to the window and the tray icon, then MainViewSetup::start_installation runs.
//
// Threads: made, created and destroyed on the UI thread, where all its entries run. The
// controller calls the InstallerWindows side from its worker threads: the install record is
// copied under the view's lock, the progress view's data under that view's lock, and
// ReportNoConnection only posts a message. The program stops the controller (its Stop) before it
// destroys the windows. Statistics events go through a ReportSender, so the UI thread never waits
// for the statistics service.
//
// Ownership: the backend's main window owns the view; the view owns the report sender; the
// progress view belongs to the progress window the host made; folders and loops are borrowed and
// outlive the view.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "controller/installer_windows.h"
#include "core/message_loop_context.h"
#include "ui/core/client_view.h"
#include "ui/core/geometry.h"
#include "ui/core/report_sender.h"
#include "ui/core/surface.h"
#include "ui/core/view_host.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"

namespace qv::ui {

class MainView;

// How long the installation waits for the first frames before it starts anyway: a window the
// system does not expose at once (on a hidden workspace, say) must not hold it up.
inline constexpr int kFirstFrameWaitMs = 1000;

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
// The name a running installer is known by to a second start (platform::SingleInstance): the
// identity text followed by platform::kInstanceNameSuffix. On Windows the identity text is also
// the main window's class, which window classes match without regard to case.
inline constexpr char kInstanceName[] = "QvorvaneDownloaderapp_global_only_mutex";

// What the main view needs of the backend: its own window, the progress window, the tray icon,
// the desktop. UI thread only (PostViewMessage: any thread).
class MainHost : public ViewHost {
 public:
  // The desktop's work area (screen coordinates) the window is first centred in.
  virtual Rect WorkArea() const = 0;
  // The window's rectangle (screen coordinates); moves and sizes it.
  virtual Rect WindowRect() const = 0;
  virtual void SetWindowRect(const Rect& window_rect) = 0;
  // Makes the progress window at `window_rect` (screen coordinates) owned by this window, with a
  // ClientView whose delegate is `delegate`, and calls the view's OnCreated. Null (nothing made)
  // when it cannot be made. The window and its view live until this window is destroyed.
  virtual ClientView* CreateProgressWindow(const Rect& window_rect,
                                           ClientView::Delegate& delegate) = 0;

  // Shows the window normally (restoring a minimised one), raises and activates it; hides it.
  virtual void ShowMain() = 0;
  virtual void HideMain() = 0;
  virtual void MinimiseMain() = 0;
  // Whether the window is shown and not minimised.
  virtual bool MainShownNormally() const = 0;
  virtual void HideProgress() = 0;

  // Makes the tray icon with `tip`, not yet shown; its clicks come back as WM_TRAY_ICON messages
  // with the mouse message they stand for (kTray...).
  virtual void CreateTrayIcon(std::string_view tip) = 0;
  // Adds the icon to the notification area; whether it is there.
  virtual void ShowTrayIcon() = 0;
  virtual bool TrayIconShown() const = 0;
  // Whether the desktop has a notification area.
  virtual bool TrayAvailable() const = 0;
  // Gives the program's icon (resources 107 and 108) to the window and the tray icon.
  virtual void UseProgramIcon() = 0;

  // Shows the warning box with `caption` and `text` and an OK button, modal over the window;
  // returns when it is closed.
  virtual void ShowNoConnectionBox(std::string_view caption, std::string_view text) = 0;
  // Opens `url` in the desktop's browser.
  virtual void OpenUrl(const std::string& url) = 0;
  // Ends the event loop with `exit_code` (the program then ends).
  virtual void Quit(int exit_code) = 0;
  // Hands the pointer's drag (the left button is down) to the window system to move the window.
  virtual void BeginDrag() = 0;
  // Runs `call` on the UI thread after the current event and what the window system does with it
  // (the frame's hand-over follows its paint in the same event).
  virtual void RunLater(std::function<void()> call) = 0;
};

// What the main view works with. The program starts the install controller; tests give their
// own statistics endpoint, folders and loop registry.
struct MainViewSetup {
  // Called once both windows are up and have handed their first frame to the window system
  // (or first_frame_wait_ms after Create, whichever comes first): the program hands the view to
  // the install controller (MessageContextDelegateDownloader::Start), whose threads would
  // otherwise compete with the first frame. Empty: no installation is started.
  std::function<void(MainView& view)> start_installation;
  int first_frame_wait_ms = kFirstFrameWaitMs;
  std::string stats_base_url;  // empty: the build's statistics service
  util::AppFolders* folders = &util::ProcessAppFolders();
  core::MessageLoopContext* loops = &core::MessageLoopContext::Instance();
  // The frame picture, decoded beside the toolkit's start (PictureDecoding::Take); called once
  // by Create. Empty, or a null picture: Create decodes it.
  std::function<Surface()> frame_picture;
};

class MainView final : public ClientView::Delegate, public controller::InstallerWindows {
 public:
  // The window is made at this size, centred in the work area, then takes the frame's size.
  static constexpr int kCreateWidth = 580;
  static constexpr int kCreateHeight = 386;
  // Size of the surface until the frame picture is loaded.
  static constexpr int kInitialWidth = 490;
  static constexpr int kInitialHeight = 160;
  // Presses above this client y drag the window.
  static constexpr int kDragStripHeight = 50;
  // The first-frame wait's timer id.
  static constexpr int kFirstFrameTimer = 1;
  // The window's title (its class name on Windows).
  static constexpr char kWindowTitle[] = "QVorvaneDownloader";

  MainView(MainHost& host, MainViewSetup setup);
  ~MainView() override;
  MainView(const MainView&) = delete;
  MainView& operator=(const MainView&) = delete;

  // Centres the window in the work area, takes the frame picture and the window its size, makes
  // the progress window and the tray icon and starts the first-frame wait. False (the progress
  // window not made) when the frame picture cannot be had or the progress window not made.
  bool Create();

  // ClientView::Delegate.
  void Quit() override;
  void ReportNoConnection() override;

  // controller::InstallerWindows (worker threads).
  bool HasProgressWindow() const override;
  void ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) override;
  void ShowDefaultHeader() override;
  void StoreInstallRecord(const workflow::InstallRecord& record) override;
  void UpdateStatus(std::u16string_view key, int state_code, int percent) override;

  // --- UI thread: what the backend hands over -----------------------------------------------
  // Handles numbered message `number` (WM_TRAY_ICON, WM_NO_CONNECTION, WM_CLOSE_TO_TRAY,
  // WM_MINIMIZE_BUTTON) and returns its result (WM_TRAY_ICON answers -1 for a mouse message it
  // does not handle).
  intptr_t HandleMessage(uint32_t number, uintptr_t wparam, intptr_t lparam);
  void OnTimer(int id);
  // The frame picture stretched over `surface` (transparent, of the window's size).
  void Render(Surface& surface) const;
  // The left button pressed or released at `client_point` (presses the progress window passed
  // on included).
  void OnLeftButtonDown(Point client_point);
  void OnLeftButtonUp(Point client_point);
  // The system's close command: never destroys the window.
  void OnSystemClose();
  // The window moved, or its state changed (restored through the task bar): the progress window
  // follows while the window is shown normally.
  void OnMovedOrRestored();
  // The main window's (`progress` false) or the progress window's first frame reached the window
  // system.
  void OnFramePresented(bool progress);
  // A second start of the program asks for the windows.
  void OnShowRequest() { ShowWindows(true); }

  // Shows, raises and activates both windows (restoring a minimised one), or hides both.
  void ShowWindows(bool show);

  // --- State -----------------------------------------------------------------------------
  // Whether a press at `client_point` drags the window.
  static bool InDragStrip(Point client_point) { return client_point.y < kDragStripHeight; }
  // The first position: the create size centred in `work_area`.
  static Rect CentredRect(const Rect& work_area);
  // The window's size: the frame picture's once it is loaded.
  Size SurfaceSize() const { return surface_size_; }
  bool HasFramePicture() const { return !frame_.IsNull(); }
  // A copy of the install record (any thread).
  workflow::InstallRecord Record() const;
  // Null until Create made the progress window.
  ClientView* client() { return client_; }
  // How many times the icon was added to the tray.
  int tray_icon_adds() const { return tray_icon_adds_; }
  ReportSender& reports() { return reports_; }
  // Whether setup's start_installation was called.
  bool installation_started() const { return installation_started_; }
  bool FirstFrameWaitRunning() const { return first_frame_wait_running_; }

 private:
  enum class CloseSource { kCloseButton, kSystem };

  // Loads the frame picture if not loaded yet and sizes the window to it without moving it.
  bool TakeFramePicture();
  void CloseToTray(CloseSource source);
  void Minimise();
  // Minimises both windows; the progress window comes back with the main window.
  void MinimiseWindows();
  void ShowNoConnection();
  void PlaceProgressWindow();
  void Report(const WindowEvent& event);
  // Whether `client_point` lies on the progress view's link while it is shown.
  bool OnLink(Point client_point) const;
  void StartInstallation();
  void UseProgramIcon();

  MainHost& host_;
  MainViewSetup setup_;
  ReportSender reports_;
  Surface frame_;
  Size surface_size_{kInitialWidth, kInitialHeight};
  ClientView* client_ = nullptr;
  std::atomic<ClientView*> client_ready_{nullptr};  // client_ once it was made; for workers
  int tray_icon_adds_ = 0;
  bool no_connection_shown_ = false;  // the box is shown at most once
  bool frame_presented_ = false;
  bool progress_presented_ = false;
  bool start_queued_ = false;
  bool installation_started_ = false;
  bool icon_given_ = false;
  bool first_frame_wait_running_ = false;
  // Set by the controller's thread when the installation reported "Failed...", its last status.
  std::atomic<bool> installation_failed_{false};

  mutable std::mutex record_lock_;
  workflow::InstallRecord record_;  // guarded by record_lock_
};

}  // namespace qv::ui
