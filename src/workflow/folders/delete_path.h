// Silent, permanent removal of a file or of a folder with everything in it.
//
// Used for the downloaded temporary files, the previous platform folder and the plug-in folder.
// The removal never leaves the tree it was given: a symbolic link inside it (or the path itself,
// when it is one) is deleted itself and what it points to is never touched. Failures are passed
// over, as nobody could act on them. Thread-safe.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/path_limits.h"

namespace qv::workflow {

// Paths of this many characters or more are not removed: no path of the system is that long (a
// UTF-16 unit takes at least one byte of the system's path).
inline constexpr size_t kMaxDeletePathLength = platform::kMaxPathLength + 1;

// Removes `path` ('/' or '\' separators, a folder with or without its final '/'). An empty path,
// the file-system root and a path of kMaxDeletePathLength characters or more are left alone.
void DeletePath(std::u16string_view path);

}  // namespace qv::workflow
