// The UI thread's message loop: runs until WM_QUIT (or until GetMessageW fails) and gives the
// exit code the quit carried, 0 after a failure. UI thread.
#pragma once

namespace qv::ui::win32 {

int RunMessageLoop();

}  // namespace qv::ui::win32
