#include "platform/path_rename.h"

#include <fcntl.h>
#include <stdio.h>

namespace qv::platform {

bool RenamePath(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace qv::platform
