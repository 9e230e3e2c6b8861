// The Win32 side's conversions at the system boundary: the interfaces speak UTF-8, the system's
// wide functions UTF-16. Text that is not well-formed converts with U+FFFD in place of each
// broken sequence, as the system converts it.
#pragma once

#include <string>
#include <string_view>

namespace qv::platform::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace qv::platform::win32
