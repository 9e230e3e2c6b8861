#include "ui/win32/message_loop.h"

#include "platform/win32/windows_api.h"

namespace qv::ui::win32 {

int RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 0;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace qv::ui::win32
