#include "ui/win32/tray_icon.h"

#include <algorithm>
#include <string>

#include "controller/window_messages.h"
#include "platform/win32/wide_text.h"
#include "ui/win32/program_icons.h"

namespace qv::ui::win32 {

void TrayIcon::Prepare(HWND window, std::string_view tip) {
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof data_;
  data_.hWnd = window;
  data_.uID = kLargeIconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = controller::WM_TRAY_ICON;
  data_.hIcon = LoadProgramIcon(kLargeIconId, IconSize::kSmall);
  const std::wstring wide = platform::win32::Wide(tip);
  const size_t length = std::min(wide.size(), std::size(data_.szTip) - 1);
  std::copy_n(wide.begin(), length, data_.szTip);
  prepared_ = true;
}

bool TrayIcon::Show() {
  if (!prepared_) return false;
  if (Shell_NotifyIconW(NIM_ADD, &data_)) shown_ = true;
  return shown_;
}

void TrayIcon::SetIcon(HICON icon) {
  data_.hIcon = icon;
  if (shown_) Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void TrayIcon::Remove() {
  if (shown_) Shell_NotifyIconW(NIM_DELETE, &data_);
  shown_ = false;
}

bool TrayIcon::Available() { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }

}  // namespace qv::ui::win32
