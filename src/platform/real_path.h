// What an existing path really names: its canonical form, and whether it is a symbolic link.
//
// Paths are UTF-8 and found without regard to letter case (path_resolution.h). Thread-safe.
#pragma once

#include <optional>
#include <string>

namespace qv::platform {

// The canonical path of an existing entry: absolute, every symbolic link on the way and at the
// end resolved, no "." or ".." components, no doubled or trailing '/', in the spelling on disk.
// nullopt when it does not exist.
std::optional<std::string> RealPath(const std::string& path);

// True when the entry named by `path` is itself a symbolic link (whatever it points to).
bool IsSymbolicLink(const std::string& path);

}  // namespace qv::platform
