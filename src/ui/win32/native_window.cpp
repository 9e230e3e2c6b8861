#include "ui/win32/native_window.h"

#include "ui/win32/layered_painter.h"

namespace qv::ui::win32 {
namespace {

// The coalesced repaint; above the numbered messages of the windows (WM_USER range).
constexpr UINT kRepaintMessage = WM_APP + 2;

}  // namespace

NativeWindow::~NativeWindow() { Destroy(); }

void NativeWindow::Destroy() {
  if (window_ != nullptr) DestroyWindow(window_);  // WM_NCDESTROY clears window_
  window_ = nullptr;
}

bool NativeWindow::Create(const wchar_t* class_name, const wchar_t* title, DWORD extended_style,
                          DWORD style, const Rect& rect, HWND owner) {
  window_ = CreateWindowExW(extended_style, class_name, title, style, rect.left, rect.top,
                            rect.width, rect.height, owner, nullptr, GetModuleHandleW(nullptr),
                            this);
  return window_ != nullptr;
}

void NativeWindow::StartTimer(int id, int interval_ms) {
  if (window_ != nullptr) SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(interval_ms), nullptr);
}

void NativeWindow::StopTimer(int id) {
  if (window_ != nullptr) KillTimer(window_, static_cast<UINT_PTR>(id));
}

void NativeWindow::Repaint() {
  if (window_ == nullptr || repaint_queued_) return;
  repaint_queued_ = PostMessageW(window_, kRepaintMessage, 0, 0) != FALSE;
}

bool NativeWindow::RepaintNow() {
  if (window_ == nullptr) return false;
  if (!PaintLayered(window_, handler_.Compose())) return false;
  handler_.Presented();
  return true;
}

void NativeWindow::Post(uint32_t number, uintptr_t wparam, intptr_t lparam) const {
  if (window_ != nullptr) PostMessageW(window_, number, wparam, lparam);
}

LRESULT CALLBACK NativeWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    auto* self = static_cast<NativeWindow*>(created->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT NativeWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kRepaintMessage:
      repaint_queued_ = false;
      RepaintNow();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window_, &paint);
      EndPaint(window_, &paint);
      RepaintNow();  // the whole window, whatever part was invalid
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the frame covers everything
    case WM_SHOWWINDOW:
      // A layered window gets no WM_PAINT: being shown asks for its frame.
      if (wparam != FALSE) Repaint();
      break;
    default:
      break;
  }
  if (const std::optional<LRESULT> result = handler_.OnWindowMessage(message, wparam, lparam)) {
    return *result;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace qv::ui::win32
