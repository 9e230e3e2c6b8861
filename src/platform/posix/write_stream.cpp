#include "platform/write_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/path_resolution.h"

namespace qv::platform {
namespace {

constexpr mode_t kRestoredModeBits = S_IRWXU | S_IXGRP | S_IXOTH;
constexpr mode_t kNarrowedModeBits = S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;

std::FILE* StreamOf(int fd) {
  if (fd < 0) return nullptr;
  std::FILE* stream = ::fdopen(fd, "wb");
  if (stream == nullptr) ::close(fd);
  return stream;
}

}  // namespace

OpenedStream OpenWriteStream(const std::string& path, WriteOpenMode mode) {
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
  flags |= mode == WriteOpenMode::kCreateOrTruncate ? O_TRUNC : (O_EXCL | O_NOFOLLOW);
  // A file or folder on the way that exists in another spelling is the one written, unless the
  // caller asked for the exact path (looking costs a listing of the folder per new file).
  const std::string target =
      mode == WriteOpenMode::kCreateNewExactly ? path : ResolvePathForCreation(path);
  const int fd = ::open(target.c_str(), flags, 0666);
  OpenedStream opened;
  opened.name_taken = fd < 0 && (errno == EEXIST || errno == ELOOP);
  opened.stream = StreamOf(fd);
  return opened;
}

std::FILE* OpenWriteStreamToContinue(const std::string& path, uint64_t length) {
  const int fd = ::open(ResolvePathForCreation(path).c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return nullptr;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
      static_cast<uint64_t>(status.st_size) < length ||
      ::ftruncate(fd, static_cast<off_t>(length)) != 0 ||
      ::lseek(fd, static_cast<off_t>(length), SEEK_SET) < 0) {
    ::close(fd);
    return nullptr;
  }
  return StreamOf(fd);
}

bool SyncWriteStream(std::FILE* stream) {
  return std::fflush(stream) == 0 && !std::ferror(stream) && ::fsync(::fileno(stream)) == 0;
}

bool ApplyStoredUnixMode(std::FILE* stream, uint32_t stored_mode) {
  const int fd = ::fileno(stream);
  struct stat status {};
  if (::fstat(fd, &status) != 0) return false;
  const mode_t stored = static_cast<mode_t>(stored_mode);
  const mode_t mode = (stored & kRestoredModeBits) | (stored & status.st_mode & kNarrowedModeBits);
  return (status.st_mode & 07777) == mode || ::fchmod(fd, mode) == 0;
}

}  // namespace qv::platform
