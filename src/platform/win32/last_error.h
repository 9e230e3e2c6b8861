// The calling thread's last Win32 error as an error code. The errors the interfaces name by
// their portable condition (a missing file or folder, a refused access, a file that exists) are
// given as those conditions, so callers compare them alike on every system; any other keeps its
// Win32 value.
#pragma once

#include <system_error>

namespace qv::platform::win32 {

std::error_code LastError();
std::error_code ErrorFromWin32(unsigned long code);

}  // namespace qv::platform::win32
