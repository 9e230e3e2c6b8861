#include "util/output_file.h"

#include <fcntl.h>
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
  if (fd < 0) return false;
  file_.reset(::fdopen(fd, "wb"));
  if (!file_) {
    ::close(fd);
    return false;
  }
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kOutputFileBufferSize);
  std::setvbuf(file_.get(), buffer_.get(), _IOFBF, kOutputFileBufferSize);
  return true;
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
