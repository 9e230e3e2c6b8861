#include "platform/path_rename.h"

#include <fcntl.h>
#include <stdio.h>

#include <climits>

#include "platform/path_limits.h"
#include "platform/path_resolution.h"

namespace qv::platform {

// The values CMake wrote for Linux are the system's own.
static_assert(kMaxPathLength == PATH_MAX - 1 && kMaxNameLength == NAME_MAX);

bool RenamePath(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  const std::string source = ResolveExistingPath(from).value_or(from);
  const std::string target = ResolvePathForCreation(to);
  return ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace qv::platform
