#include "platform/exact_entries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace qv::platform {

EntryKind EntryKindOf(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) {
    // A file on the way (ENOTDIR) is no missing folder: the caller must not go on.
    return errno == ENOENT ? EntryKind::kMissing : EntryKind::kUnknown;
  }
  if (S_ISDIR(status.st_mode)) return EntryKind::kFolder;
  if (S_ISLNK(status.st_mode)) return EntryKind::kLink;
  return EntryKind::kFile;
}

bool MakeFolderExactly(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

bool SetModificationTimeExactly(const std::string& path, std::time_t seconds) {
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;  // access time kept
  times[1].tv_sec = seconds;
  return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  char cwd[PATH_MAX];
  if (::getcwd(cwd, sizeof(cwd)) == nullptr) return {};
  const std::string folder = cwd;
  return folder.back() == '/' ? folder + path : folder + "/" + path;
}

}  // namespace qv::platform
