#include "platform/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "platform/os_handles.h"
#include "platform/path_resolution.h"
#include "platform/whole_file.h"

namespace qv::platform {
namespace {

constexpr size_t kMaxNameBytes = NAME_MAX;
// A name that does not fit with its side-file prefix and suffix keeps this many leading bytes,
// followed by '~' and 16 hexadecimal digits of its hash.
constexpr size_t kShortenedNameBytes = 200;
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr mode_t kNewFileMode = 0666;  // less the umask, as for any file the user creates
constexpr mode_t kLockFileMode = 0600;
constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;
constexpr size_t kHashDigits = 16;

std::error_code LastError() { return {errno, std::system_category()}; }

// FNV-1a, 64 bits: a stable hash that every build and every process computes alike.
uint64_t StableHash(std::string_view text) {
  uint64_t hash = kFnvOffsetBasis;
  for (const char c : text) {
    hash ^= static_cast<uint8_t>(c);
    hash *= kFnvPrime;
  }
  return hash;
}

std::string SidePath(const std::string& path, std::string_view suffix) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (1 + name.size() + suffix.size() > kMaxNameBytes) {
    char hash[kHashDigits + 1];
    std::snprintf(hash, sizeof(hash), "%016llx", static_cast<unsigned long long>(StableHash(name)));
    name = name.substr(0, kShortenedNameBytes) + "~" + hash;
  }
  return folder + "." + name + std::string(suffix);
}

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

std::error_code ReadWholeFile(const std::string& given_path, std::string& out) {
  return ReadFileAsIs(ResolveExistingPath(given_path).value_or(given_path), out);
}

// The file is the one that exists in some spelling of `given_path`, at every level, so the lock,
// the read and the replacement all work on that one file.
std::error_code UpdateFileAtomically(const std::string& given_path, const FileUpdate& update) {
  const std::string path = ResolvePathForCreation(given_path);
  FdHandle lock;
  if (const std::error_code error = LockExclusively(path, lock)) return error;

  std::optional<std::string> current;
  std::string bytes;
  const std::error_code read_error = ReadWholeFile(path, bytes);
  if (!read_error) {
    current = std::move(bytes);
  } else if (read_error != std::errc::no_such_file_or_directory) {
    return read_error;
  }

  const std::optional<std::string> replacement = update(current);
  if (!replacement) return {};
  return ReplaceWithTempFile(path, *replacement);
}  // the lock is released when `lock` closes

std::error_code WriteFileAtomically(const std::string& given_path, std::string_view contents) {
  const std::string path = ResolvePathForCreation(given_path);
  FdHandle lock;
  if (const std::error_code error = LockExclusively(path, lock)) return error;
  return ReplaceWithTempFile(path, contents);
}

std::string AtomicFileLockPath(const std::string& path) { return SidePath(path, kLockSuffix); }

std::string AtomicFileTempPath(const std::string& path) { return SidePath(path, kTempSuffix); }

}  // namespace qv::platform
