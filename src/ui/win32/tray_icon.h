// TrayIcon: the main window's notification-area icon (Shell_NotifyIconW), id 107, its mouse
// messages sent to the window as WM_TRAY_ICON (4024) with the mouse message in lParam. Made when
// the window is made, added at the first close, removed (NIM_DELETE) when it goes. No balloon
// is ever shown. UI thread.
#pragma once

#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include <string_view>

namespace qv::ui::win32 {

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Fills the icon's record for `window` with the tip; nothing is shown yet.
  void Prepare(HWND window, std::string_view tip);
  // Adds the icon to the notification area (again after the shell restarted); whether it is
  // there.
  bool Show();
  bool shown() const { return shown_; }
  void SetIcon(HICON icon);
  void Remove();

  // Whether the desktop has a notification area (its shell's tray window).
  static bool Available();

 private:
  NOTIFYICONDATAW data_{};
  bool prepared_ = false;
  bool shown_ = false;
};

}  // namespace qv::ui::win32
