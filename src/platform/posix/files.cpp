#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <vector>

#include "platform/posix/os_handles.h"
#include "platform/path_resolution.h"

namespace qv::platform {
namespace {

// The copy moves the file in pieces of this size, as the original copy loop does.
constexpr size_t kCopyChunkBytes = 4096;
constexpr char kHiddenAttributeValue[] = "1";
constexpr mode_t kNewFolderMode = 0777;  // narrowed by the umask
constexpr mode_t kNewFileMode = 0666;    // narrowed by the umask
constexpr int kTemporaryNameAttempts = 100;

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Copies at most `size` bytes (the size taken when the source was opened).
bool CopyBytes(int from, int to, off_t size) {
  std::vector<char> buffer(kCopyChunkBytes);
  while (size > 0) {
    const size_t want = std::min(buffer.size(), static_cast<size_t>(size));
    const ssize_t got = read(from, buffer.data(), want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;  // the source shrank meanwhile: what was there is copied
    if (!WriteAll(to, buffer.data(), static_cast<size_t>(got))) return false;
    size -= got;
  }
  return true;
}

// A new file in the target's folder that no one else uses, made with the default mode (0666
// narrowed by the umask, as the target would get when created directly). Its name does not
// grow with the target's, so a target name near the length limit can still be copied to.
FdHandle CreateTemporaryBeside(const std::string& target, std::string& name) {
  static std::atomic<unsigned> counter{0};
  const auto slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    name = folder + ".qv-copy-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    FdHandle fd(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
    if (fd.valid() || errno != EEXIST) return fd;
  }
  return FdHandle();
}

}  // namespace

std::optional<FileAttributes> GetFileAttributes(const std::string& path) {
  const auto resolved = ResolveExistingPath(path);
  if (!resolved) return std::nullopt;
  struct stat info {};
  if (stat(resolved->c_str(), &info) != 0) return std::nullopt;
  FileAttributes attributes;
  attributes.is_directory = S_ISDIR(info.st_mode);
  char value[sizeof(kHiddenAttributeValue)] = {};
  attributes.is_hidden = getxattr(resolved->c_str(), kHiddenAttributeName, value, sizeof(value)) > 0;
  return attributes;
}

bool SetHidden(const std::string& path) {
  const auto resolved = ResolveExistingPath(path);
  if (!resolved) return false;
  // A file system without user attributes (ENOTSUP) or a refusal leaves the entry as it is.
  setxattr(resolved->c_str(), kHiddenAttributeName, kHiddenAttributeValue,
           sizeof(kHiddenAttributeValue) - 1, 0);
  return true;
}

bool CreateFolder(const std::string& path) {
  if (path.empty()) return false;
  return mkdir(ResolvePathForCreation(path).c_str(), kNewFolderMode) == 0;
}

bool RemoveFolder(const std::string& path) {
  const auto resolved = ResolveExistingPath(path);
  return resolved && rmdir(resolved->c_str()) == 0;
}

bool DeleteFile(const std::string& path) {
  const auto resolved = ResolveExistingPath(path);
  if (!resolved) return false;
  struct stat info {};
  if (lstat(resolved->c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return unlink(resolved->c_str()) == 0;
}

bool CopyFile(const std::string& source, const std::string& target) {
  const auto resolved_source = ResolveExistingPath(source);
  if (!resolved_source || target.empty()) return false;
  FdHandle from(open(resolved_source->c_str(), O_RDONLY | O_CLOEXEC));
  struct stat source_info {};
  if (!from.valid() || fstat(from.get(), &source_info) != 0 || S_ISDIR(source_info.st_mode)) {
    return false;
  }
  const std::string resolved_target = ResolvePathForCreation(target);
  struct stat target_info {};
  if (stat(resolved_target.c_str(), &target_info) == 0 && target_info.st_dev == source_info.st_dev &&
      target_info.st_ino == source_info.st_ino) {
    return true;  // replacing a file by itself would otherwise empty it
  }
  std::string temporary;
  FdHandle to = CreateTemporaryBeside(resolved_target, temporary);
  if (!to.valid()) return false;
  const bool copied = CopyBytes(from.get(), to.get(), source_info.st_size) &&
                      close(to.Release()) == 0 &&
                      rename(temporary.c_str(), resolved_target.c_str()) == 0;
  if (!copied) unlink(temporary.c_str());
  return copied;
}

bool SetModificationTime(const std::string& path, std::chrono::system_clock::time_point time) {
  const auto resolved = ResolveExistingPath(path);
  if (!resolved) return false;
  const auto since_epoch = time.time_since_epoch();
  const auto seconds = std::chrono::floor<std::chrono::seconds>(since_epoch);
  timespec stamp{};
  stamp.tv_sec = static_cast<time_t>(seconds.count());
  stamp.tv_nsec = static_cast<long>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch - seconds).count());
  const timespec times[2] = {stamp, stamp};
  return utimensat(AT_FDCWD, resolved->c_str(), times, 0) == 0;
}

}  // namespace qv::platform
