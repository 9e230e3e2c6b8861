#include "ui/win32/progress_window.h"

#include "ui/win32/window_classes.h"

namespace qv::ui::win32 {
namespace {

constexpr DWORD kExtendedStyle = WS_EX_TOOLWINDOW;         // 0x80; layered on its first frame
constexpr DWORD kStyle = WS_POPUP | WS_CLIPSIBLINGS;       // 0x84000000
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

ProgressWindow::ProgressWindow(ClientView::Delegate& delegate, util::AppFolders& folders,
                               core::MessageLoopContext& loops, std::function<void()> presented)
    : presented_(std::move(presented)),
      view_(std::make_unique<ClientView>(*this, &delegate, folders, loops)) {}

ProgressWindow::~ProgressWindow() {
  // The window goes first, so no message reaches a view that is gone; the view may still stop
  // its timers on its way, which finds no window then.
  window_.Destroy();
  view_.reset();
}

bool ProgressWindow::Create(const Rect& window_rect, HWND owner) {
  if (!RegisterWindowClass(kProgressWindowClass) ||
      !window_.Create(kProgressWindowClass, kProgressWindowClass, kExtendedStyle, kStyle,
                      window_rect, owner)) {
    return false;
  }
  view_->OnCreated(window_rect);
  return true;
}

void ProgressWindow::SetGeometry(const Rect& window_rect) {
  SetWindowPos(window_.handle(), nullptr, window_rect.left, window_rect.top, window_rect.width,
               window_rect.height, kPlaceFlags);
}

void ProgressWindow::Show() { ShowWindow(window_.handle(), SW_SHOWNOACTIVATE); }

void ProgressWindow::ShowWithOwner() {
  HWND owner = GetWindow(window_.handle(), GW_OWNER);
  if (owner != nullptr) ShowWindow(owner, SW_SHOW);
  ShowWindow(window_.handle(), SW_SHOWNOACTIVATE);
  // An owned window stays above its owner; raising it keeps it above the owner just shown.
  SetWindowPos(window_.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ProgressWindow::RaiseAboveOwner() {
  // Already first in the z-order, a move to the top changes nothing and restacks nothing: the
  // window goes to the bottom and back.
  constexpr UINT kRestack = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(window_.handle(), HWND_BOTTOM, 0, 0, 0, 0, kRestack);
  SetWindowPos(window_.handle(), HWND_TOP, 0, 0, 0, 0, kRestack);
}

bool ProgressWindow::OwnerShown() const {
  HWND owner = GetWindow(window_.handle(), GW_OWNER);
  return owner == nullptr || (IsWindowVisible(owner) && !IsIconic(owner));
}

void ProgressWindow::SetHandCursor(bool hand) {
  hand_cursor_ = hand;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(hand ? 32649 /* IDC_HAND */
                                                       : 32512 /* IDC_ARROW */)));
}

void ProgressWindow::PostOwnerMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) {
  HWND owner = GetWindow(window_.handle(), GW_OWNER);
  if (owner != nullptr) PostMessageW(owner, number, wparam, lparam);
}

void ProgressWindow::TrackLeave() {
  if (tracking_leave_) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = window_.handle();
  track.dwHoverTime = HOVER_DEFAULT;
  tracking_leave_ = TrackMouseEvent(&track) != FALSE;
}

std::optional<LRESULT> ProgressWindow::OnWindowMessage(UINT message, WPARAM wparam,
                                                       LPARAM lparam) {
  if (message >= WM_USER && message < WM_APP) {  // the numbered messages (3024 to 3026)
    view_->OnMessage(message, wparam, lparam);
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      view_->OnTimer(static_cast<int>(wparam));
      return 0;
    case WM_NCHITTEST: {
      // Where the view draws no picture the input belongs to the main window beneath.
      const Point screen = PointFromLParam(lparam);
      POINT point{screen.x, screen.y};
      ScreenToClient(window_.handle(), &point);
      return view_->TakesMouseAt(Point{point.x, point.y}) ? HTCLIENT : HTTRANSPARENT;
    }
    case WM_SETCURSOR:
      if (LOWORD(lparam) != HTCLIENT) return std::nullopt;
      SetHandCursor(hand_cursor_);
      return TRUE;
    case WM_MOUSEMOVE:
      TrackLeave();
      view_->OnMouseMove(PointFromLParam(lparam));
      return 0;
    case WM_MOUSELEAVE:
      tracking_leave_ = false;
      view_->OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      view_->OnMousePress(PointFromLParam(lparam));
      return 0;
    case WM_LBUTTONUP:
      view_->OnLeftButtonUp(PointFromLParam(lparam));
      return 0;
    case WM_MOVE:
    case WM_MOVING:
    case WM_NCLBUTTONDBLCLK:
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click on a button leaves the main window active
    default:
      return std::nullopt;
  }
}

Surface ProgressWindow::Compose() {
  RECT rect;
  GetWindowRect(window_.handle(), &rect);
  Surface surface(rect.right - rect.left, rect.bottom - rect.top);
  if (!surface.IsNull()) view_->Render(surface, text_);
  return surface;
}

void ProgressWindow::Presented() {
  if (presented_) presented_();
}

}  // namespace qv::ui::win32
