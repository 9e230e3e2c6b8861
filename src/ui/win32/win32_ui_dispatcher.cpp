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
  HWND window;
  std::deque<std::function<void()>> unrun;
  {
    std::lock_guard<std::mutex> guard(lock_);
    window = window_;
    window_ = nullptr;
    unrun.swap(queue_);
  }
  // The window's queued wake-ups go with it; the work left is destroyed here, unrun.
  if (window != nullptr) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

void Win32UiDispatcher::Post(std::function<void()> work) {
  std::lock_guard<std::mutex> guard(lock_);
  if (window_ == nullptr) return;
  queue_.push_back(std::move(work));
  if (!PostMessageW(window_, kRunWork, 0, 0)) queue_.pop_back();  // the thread's queue is full
}

void Win32UiDispatcher::RunNext() {
  std::function<void()> work;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (queue_.empty()) return;
    work = std::move(queue_.front());
    queue_.pop_front();
  }
  if (work) work();
}

LRESULT CALLBACK Win32UiDispatcher::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  if (message == kRunWork) {
    auto* dispatcher =
        reinterpret_cast<Win32UiDispatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (dispatcher != nullptr) dispatcher->RunNext();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace qv::ui::win32
