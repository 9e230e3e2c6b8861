// Where the running program was started from.
#pragma once

#include <string>

namespace qv::platform {

// The full path of the running executable (/proc/self/exe; GetModuleFileNameW), UTF-8; empty
// when it cannot be read.
std::string ExecutablePath();

}  // namespace qv::platform
