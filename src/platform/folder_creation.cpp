#include "platform/folder_creation.h"

#include <sys/stat.h>

#include <cerrno>

namespace qv::platform {

bool EnsureFolder(const std::string& folder, mode_t mode) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const size_t slash = folder.rfind('/');
  if (slash != std::string::npos && slash > 0 && !EnsureFolder(folder.substr(0, slash), mode)) {
    return false;
  }
  if (::mkdir(folder.c_str(), mode) == 0) return true;
  // Another process may have made it meanwhile.
  return errno == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace qv::platform
