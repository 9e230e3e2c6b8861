// Making the folders the Linux stand-ins keep their own files in (the registry store, the
// single-instance lock). Internal to the platform layer and its tests.
#pragma once

#include <sys/types.h>

#include <string>

namespace qv::platform {

// Creates `folder` and every missing parent with `mode` (less the umask). True when the folder
// exists afterwards; false when it cannot be made or a file stands in its place.
bool EnsureFolder(const std::string& folder, mode_t mode);

}  // namespace qv::platform
