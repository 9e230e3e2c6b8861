#include "platform/path_rename.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace qv::platform {

// Without MOVEFILE_REPLACE_EXISTING the system refuses an existing target itself.
bool RenamePath(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  return MoveFileExW(win32::Wide(from).c_str(), win32::Wide(to).c_str(), 0);
}

}  // namespace qv::platform
