#include "ui/win32/window_classes.h"

#include "ui/win32/native_window.h"
#include "ui/win32/program_icons.h"

namespace qv::ui::win32 {
namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;  // 0x2B
constexpr COLORREF kPanelColour = 0x282521;                                      // red 33, green 37, blue 40

}  // namespace

bool RegisterWindowClass(const wchar_t* name) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = kClassStyle;
  window_class.lpfnWndProc = NativeWindow::Procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hIcon = LoadProgramIcon(kLargeIconId, IconSize::kLarge);
  window_class.hIconSm = LoadProgramIcon(kSmallIconId, IconSize::kSmall);
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  window_class.hbrBackground = CreateSolidBrush(kPanelColour);
  window_class.lpszClassName = name;
  if (RegisterClassExW(&window_class) != 0) return true;
  if (window_class.hbrBackground != nullptr) DeleteObject(window_class.hbrBackground);
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace qv::ui::win32
