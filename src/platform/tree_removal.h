// Removal of entries inside a folder that can never reach outside it.
//
// The entry is named relative to `root` (components separated by the system's separators, each a
// plain component on this system: portable_names.h, so no "", "." or ".."); every folder
// on the way is opened without following symbolic links, so a link planted in the tree (even
// after the tree was listed) makes the removal fail instead of acting on what the link points
// to. `root` itself is resolved without regard to case. Thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace qv::platform {

// Deletes a file (or a symbolic link itself) inside `root`. Never a folder.
bool DeleteFileInside(const std::string& root, std::string_view relative);

// Removes an empty folder inside `root`. Never the root itself, never a symbolic link.
bool RemoveFolderInside(const std::string& root, std::string_view relative);

}  // namespace qv::platform
