// The system's limits on path lengths, in bytes of the UTF-8 form that reaches the OS.
//
// These are this system's own limits (PATH_MAX for a whole path with its terminator, NAME_MAX for
// one component), not the 260-character limit of the platform the packages are made for: a
// user whose home folder is long must still get a complete installation. A component that is
// too long is refused by the OS itself when it is made.
#pragma once

#include <climits>
#include <cstddef>

namespace qv::platform {

// The longest full path, without its terminator.
inline constexpr size_t kMaxPathLength = PATH_MAX - 1;
// The longest single component of a path.
inline constexpr size_t kMaxNameLength = NAME_MAX;

}  // namespace qv::platform
