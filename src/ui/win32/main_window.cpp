#include "ui/win32/main_window.h"

#include <shellapi.h>

#include "controller/window_messages.h"
#include "platform/win32/wide_text.h"
#include "ui/win32/program_icons.h"
#include "ui/win32/window_classes.h"

namespace qv::ui::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX;

Rect FromRect(const RECT& rect) {
  return Rect::FromEdges(rect.left, rect.top, rect.right, rect.bottom);
}

bool IsMainWindowMessage(UINT message) {
  return message == controller::WM_TRAY_ICON || message == controller::WM_NO_CONNECTION ||
         message == controller::WM_CLOSE_TO_TRAY || message == controller::WM_MINIMIZE_BUTTON;
}

}  // namespace

MainWindow::MainWindow(MainViewSetup setup, std::function<void()> session_ending)
    : folders_(*setup.folders),
      loops_(*setup.loops),
      session_ending_(std::move(session_ending)),
      view_(std::make_unique<MainView>(*this, std::move(setup))) {}

MainWindow::~MainWindow() {
  // The view borrows the progress window's view, so it goes first; until the window itself goes
  // its messages find no view and take the default.
  view_.reset();
  progress_.reset();
  tray_.Remove();
  window_.Destroy();
}

bool MainWindow::Create() {
  const Rect first = MainView::CentredRect(WorkArea());
  if (!RegisterWindowClass(kMainWindowClass) ||
      !window_.Create(kMainWindowClass, kMainWindowClass, 0, kStyle, first, nullptr)) {
    return false;
  }
  if (!view_->Create()) {
    progress_.reset();
    window_.Destroy();
    return false;
  }
  return true;
}

Rect MainWindow::WorkArea() const {
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return FromRect(area);
}

Rect MainWindow::WindowRect() const {
  RECT rect{};
  GetWindowRect(window_.handle(), &rect);
  return FromRect(rect);
}

void MainWindow::SetWindowRect(const Rect& window_rect) {
  SetWindowPos(window_.handle(), nullptr, window_rect.left, window_rect.top, window_rect.width,
               window_rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

ClientView* MainWindow::CreateProgressWindow(const Rect& window_rect,
                                             ClientView::Delegate& delegate) {
  auto progress = std::make_unique<ProgressWindow>(delegate, folders_, loops_, [this] {
    FirstFramePresented(true);
    if (view_) view_->OnFramePresented(true);
  });
  progress_ = std::move(progress);
  if (!progress_->Create(window_rect, window_.handle())) {
    progress_.reset();
    return nullptr;
  }
  return &progress_->view();
}

void MainWindow::ShowMain() {
  HWND window = window_.handle();
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  ShowWindow(window, SW_SHOWNORMAL);
  BringWindowToTop(window);
  SetActiveWindow(window);
  UpdateWindow(window);
}

void MainWindow::HideMain() { ShowWindow(window_.handle(), SW_HIDE); }

void MainWindow::MinimiseMain() { ShowWindow(window_.handle(), SW_MINIMIZE); }

bool MainWindow::MainShownNormally() const {
  return IsWindowVisible(window_.handle()) && !IsIconic(window_.handle());
}

void MainWindow::HideProgress() {
  if (progress_) ShowWindow(progress_->handle(), SW_HIDE);
}

void MainWindow::CreateTrayIcon(std::string_view tip) { tray_.Prepare(window_.handle(), tip); }

void MainWindow::UseProgramIcon() {
  HICON large = LoadProgramIcon(kLargeIconId, IconSize::kLarge);
  HICON small_icon = LoadProgramIcon(kSmallIconId, IconSize::kSmall);
  if (large != nullptr) {
    SendMessageW(window_.handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  }
  if (small_icon != nullptr) {
    SendMessageW(window_.handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
  }
  if (HICON tray = LoadProgramIcon(kLargeIconId, IconSize::kSmall)) tray_.SetIcon(tray);
}

void MainWindow::ShowNoConnectionBox(std::string_view caption, std::string_view text) {
  MessageBoxW(window_.handle(), platform::win32::Wide(text).c_str(),
              platform::win32::Wide(caption).c_str(), MB_ICONWARNING | MB_OK);
}

void MainWindow::OpenUrl(const std::string& url) {
  // The wide call: the address's text reaches the browser as it is, whatever the code page.
  ShellExecuteW(nullptr, L"open", platform::win32::Wide(url).c_str(), nullptr, nullptr, SW_SHOW);
}

void MainWindow::Quit(int exit_code) { PostQuitMessage(exit_code); }

void MainWindow::BeginDrag() {
  // The system's own move loop, as if the press had been on a caption.
  ReleaseCapture();
  SendMessageW(window_.handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void MainWindow::RunLater(std::function<void()> call) { later_.Post(std::move(call)); }

std::optional<LRESULT> MainWindow::OnWindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!view_) return std::nullopt;
  if (IsMainWindowMessage(message)) {
    return static_cast<LRESULT>(view_->HandleMessage(message, wparam, lparam));
  }
  switch (message) {
    case WM_TIMER:
      view_->OnTimer(static_cast<int>(wparam));
      return 0;
    case WM_MOVE:
    case WM_MOVING:
      view_->OnMovedOrRestored();
      return std::nullopt;
    case WM_SIZE:
      if (wparam == SIZE_RESTORED) view_->OnMovedOrRestored();
      return std::nullopt;
    case WM_LBUTTONDOWN:
      view_->OnLeftButtonDown(PointFromLParam(lparam));
      return 0;
    case WM_LBUTTONUP:
      view_->OnLeftButtonUp(PointFromLParam(lparam));
      return 0;
    case WM_NCLBUTTONDBLCLK:
      return 0;  // a double click on the drag strip neither maximises nor restores
    case WM_CLOSE:
      view_->OnSystemClose();  // never destroys the window
      return 0;
    case WM_COPYDATA:
      view_->OnShowRequest();  // a second start: no data travels
      return TRUE;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The system may end the process as soon as this returns: the loops stop here. Should it
      // not, the message loop ends as after a quit and the program's shut-down goes on.
      if (wparam != FALSE) {
        if (session_ending_) session_ending_();
        PostQuitMessage(0);
      }
      return 0;
    default:
      return std::nullopt;
  }
}

Surface MainWindow::Compose() {
  if (!view_) return Surface();
  const Size size = view_->SurfaceSize();
  Surface surface(size.width, size.height);
  if (!surface.IsNull()) view_->Render(surface);
  return surface;
}

void MainWindow::Presented() {
  FirstFramePresented(false);
  if (view_) view_->OnFramePresented(false);
}

void MainWindow::FirstFramePresented(bool progress) {
  bool& presented = progress ? progress_frame_presented_ : main_frame_presented_;
  if (presented) return;
  presented = true;
  if (main_frame_presented_ && progress_frame_presented_ && progress_) {
    progress_->RaiseAboveOwner();
  }
}

}  // namespace qv::ui::win32
