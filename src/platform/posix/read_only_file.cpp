#include "platform/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qv::platform {

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  ReadOnlyFile file(fd, 0);
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  file.size_ = static_cast<uint64_t>(status.st_size);
  return file;
}

void ReadOnlyFile::Close() {
  if (native_ != kNone) ::close(static_cast<int>(native_));
  native_ = kNone;
}

int64_t ReadOnlyFile::ReadAt(uint64_t offset, char* out, size_t size) const {
  ssize_t got;
  do {
    got = ::pread(static_cast<int>(native_), out, size, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  return got;
}

}  // namespace qv::platform
