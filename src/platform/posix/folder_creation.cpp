#include "platform/posix/folder_creation.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/path_resolution.h"

namespace qv::platform {

namespace {

bool EnsureResolvedFolder(const std::string& folder, mode_t mode) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const size_t slash = folder.rfind('/');
  if (slash != std::string::npos && slash > 0 && !EnsureResolvedFolder(folder.substr(0, slash), mode)) {
    return false;
  }
  if (::mkdir(folder.c_str(), mode) == 0) return true;
  // Another process may have made it meanwhile.
  return errno == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

// Folders that exist in another spelling are used, at every level.
bool EnsureFolder(const std::string& folder, mode_t mode) {
  return EnsureResolvedFolder(ResolvePathForCreation(folder), mode);
}

}  // namespace qv::platform
