// The UI thread's message loop for the window tests: runs until WM_QUIT and gives its exit code.
#pragma once

#include "platform/win32/windows_api.h"

namespace qv::test {

inline int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace qv::test
