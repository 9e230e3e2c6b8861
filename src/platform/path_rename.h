// Moving a file or folder to a new name on the same file system.
//
// Paths are UTF-8 and taken as given (no case-insensitive resolution: the callers name entries
// they have just made). Thread-safe; failures are results.
#pragma once

#include <string>

namespace qv::platform {

// Renames `from` to `to` in one step. Never replaces an existing `to`: false then, and nothing
// changes. A symbolic link at `from` is moved itself.
bool RenamePath(const std::string& from, const std::string& to);

}  // namespace qv::platform
