#include "util/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/path_resolution.h"

namespace qv::util {

OutputFile::~OutputFile() { file_.reset(); }

bool OutputFile::Open(const std::string& path, Mode mode) {
  file_.reset();
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
  flags |= mode == Mode::kCreateNew ? (O_EXCL | O_NOFOLLOW) : O_TRUNC;
  // A file or folder on the way that exists in another spelling is the one written.
  const int fd = ::open(platform::ResolvePathForCreation(path).c_str(), flags, 0666);
  return fd >= 0 && Adopt(fd);
}

bool OutputFile::OpenToContinue(const std::string& path, uint64_t length) {
  file_.reset();
  const int fd = ::open(platform::ResolvePathForCreation(path).c_str(),
                        O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
      static_cast<uint64_t>(status.st_size) < length ||
      ::ftruncate(fd, static_cast<off_t>(length)) != 0 ||
      ::lseek(fd, static_cast<off_t>(length), SEEK_SET) < 0) {
    ::close(fd);
    return false;
  }
  return Adopt(fd);
}

bool OutputFile::Adopt(int fd) {
  file_.reset(::fdopen(fd, "wb"));
  if (!file_) {
    ::close(fd);
    return false;
  }
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kOutputFileBufferSize);
  std::setvbuf(file_.get(), buffer_.get(), _IOFBF, kOutputFileBufferSize);
  return true;
}

bool OutputFile::Sync() {
  if (!file_) return false;
  return std::fflush(file_.get()) == 0 && !std::ferror(file_.get()) &&
         ::fsync(::fileno(file_.get())) == 0;
}

int OutputFile::descriptor() const { return file_ ? ::fileno(file_.get()) : -1; }

bool OutputFile::Write(const void* bytes, size_t size) {
  if (!file_) return false;
  return std::fwrite(bytes, 1, size, file_.get()) == size;
}

bool OutputFile::Close() {
  if (!file_) return false;
  std::FILE* file = file_.release();
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const bool closed = std::fclose(file) == 0;
  return flushed && closed;
}

}  // namespace qv::util
