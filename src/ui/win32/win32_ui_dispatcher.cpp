#include "ui/win32/win32_ui_dispatcher.h"

namespace qv::ui::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QVorvaneUiDispatcher";
// The wake-up: one per piece of work queued.
constexpr UINT kRunWork = WM_APP + 1;

bool RegisterDispatcherClass(WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kClassName;
  return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

Win32UiDispatcher::Win32UiDispatcher() {
  if (!RegisterDispatcherClass(&WindowProcedure)) return;
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32UiDispatcher::~Win32UiDispatcher() {
  queue_.Close();  // no wake-up is posted to the window from here on; the work left goes unrun
  // The window's queued wake-ups go with it.
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void Win32UiDispatcher::Post(std::function<void()> work) {
  if (window_ == nullptr) return;
  // A full message queue refuses the wake-up: the work is dropped with it.
  queue_.Post(std::move(work),
              [this] { return PostMessageW(window_, kRunWork, 0, 0) != 0; });
}

LRESULT CALLBACK Win32UiDispatcher::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  if (message == kRunWork) {
    auto* dispatcher =
        reinterpret_cast<Win32UiDispatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (dispatcher != nullptr) dispatcher->queue_.RunNext();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace qv::ui::win32
