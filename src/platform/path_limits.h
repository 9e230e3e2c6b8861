// The target system's limits on path lengths.
//
// On Linux these are its own limits, in bytes of the UTF-8 form that reaches the OS (PATH_MAX for
// a whole path with its terminator, NAME_MAX for one component), not the 260-character limit of
// Windows: a user whose home folder is long must still get a complete installation there. On
// Windows they are MAX_PATH (the program is not long-path aware, as the buffers of its records
// are MAX_PATH units) and 255 units per component. A component that is too long is refused by
// the OS itself when it is made. CMake writes the values for the target system.
#pragma once

#include <cstddef>

#include "qv/path_limits_values.h"

namespace qv::platform {

// The longest full path, without its terminator.
inline constexpr size_t kMaxPathLength = QV_MAX_PATH_LENGTH;
// The longest single component of a path.
inline constexpr size_t kMaxNameLength = QV_MAX_NAME_LENGTH;

}  // namespace qv::platform
