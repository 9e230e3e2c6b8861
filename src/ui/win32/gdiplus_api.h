// The GDI+ flat interface for the Win32 backend: the system's header with its C++ wrappers left
// aside (only the flat functions in Gdiplus::DllExports are called).
#pragma once

#include "platform/win32/windows_api.h"

#include <objidl.h>

#include <algorithm>
// The GDI+ headers use min and max unqualified, which NOMINMAX removes from <windows.h>.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
