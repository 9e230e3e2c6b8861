#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/atomic_file_steps.h"
#include "platform/path_resolution.h"
#include "platform/posix/os_handles.h"
#include "platform/whole_file.h"

namespace qv::platform {
namespace {

constexpr mode_t kNewFileMode = 0666;  // less the umask, as for any file the user creates
constexpr mode_t kLockFileMode = 0600;

std::error_code LastError() { return {errno, std::system_category()}; }

std::error_code WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return {};
}

// Syncs the folder so that the rename itself survives a power cut. Best effort: some file
// systems refuse fsync on a folder, and the new file is complete either way.
void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  FdHandle fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) ::fsync(fd.get());
}

// Takes the target's writer lock; it is held until `lock` closes.
std::error_code LockExclusively(const std::string& path, FdHandle& lock) {
  lock = FdHandle(
      ::open(AtomicFileLockPath(path).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, kLockFileMode));
  if (!lock.valid()) return LastError();
  while (::flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return LastError();
  }
  return {};
}

}  // namespace

std::error_code ReplaceWithTempFile(const std::string& path, std::string_view contents) {
  const std::string temp = AtomicFileTempPath(path);
  // A temporary file left by a killed writer (or anything planted under its name) goes first;
  // O_EXCL then guarantees that the bytes land in a file of our own.
  if (::unlink(temp.c_str()) != 0 && errno != ENOENT) return LastError();
  FdHandle fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
  if (!fd.valid()) return LastError();

  std::error_code error;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
      ::fchmod(fd.get(), existing.st_mode & 07777) != 0) {
    error = LastError();
  }
  if (!error) error = WriteAll(fd.get(), contents);
  if (!error && ::fsync(fd.get()) != 0) error = LastError();
  // close reports write-back errors some file systems only detect at this point.
  if (!error && ::close(fd.Release()) != 0) error = LastError();
  if (!error && ::rename(temp.c_str(), path.c_str()) != 0) error = LastError();
  if (error) {
    ::unlink(temp.c_str());
    return error;
  }
  SyncFolderOf(path);
  return {};
}

std::error_code ReadWholeFile(const std::string& given_path, std::string& out) {
  return ReadFileAsIs(ResolveExistingPath(given_path).value_or(given_path), out);
}

// The file is the one that exists in some spelling of `given_path`, at every level, so the lock,
// the read and the replacement all work on that one file.
std::error_code UpdateFileAtomically(const std::string& given_path, const FileUpdate& update) {
  const std::string path = ResolvePathForCreation(given_path);
  FdHandle lock;
  if (const std::error_code error = LockExclusively(path, lock)) return error;
  return ReadUpdateReplace(path, update);
}  // the lock is released when `lock` closes

std::error_code WriteFileAtomically(const std::string& given_path, std::string_view contents) {
  const std::string path = ResolvePathForCreation(given_path);
  FdHandle lock;
  if (const std::error_code error = LockExclusively(path, lock)) return error;
  return ReplaceWithTempFile(path, contents);
}

}  // namespace qv::platform
