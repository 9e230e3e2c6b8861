// The characters that separate the components of a path on the target system: '/' on Linux;
// '\' and '/' on Windows, which accepts both.
#pragma once

#include <string_view>

namespace qv::platform {

extern const std::string_view kPathSeparators;

}  // namespace qv::platform
