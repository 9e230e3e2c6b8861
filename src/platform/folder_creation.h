// Making the folders the stand-ins keep their own files in.
#pragma once

#include <sys/types.h>

#include <string>

namespace qv::platform {

// Creates `folder` and every missing parent with `mode` (less the umask). True when the folder
// exists afterwards; false when it cannot be made or a file stands in its place.
bool EnsureFolder(const std::string& folder, mode_t mode);

}  // namespace qv::platform
