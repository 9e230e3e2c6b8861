#include "platform/whole_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include "platform/posix/os_handles.h"

namespace qv::platform {
namespace {

constexpr size_t kReadChunk = 65536;

}  // namespace

std::error_code ReadFileAsIs(const std::string& path, std::string& out) {
  out.clear();
  FdHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return {errno, std::system_category()};
  std::string chunk(kReadChunk, '\0');
  while (true) {
    const ssize_t got = ::read(fd.get(), chunk.data(), chunk.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      const std::error_code error(errno, std::system_category());
      out.clear();
      return error;
    }
    if (got == 0) return {};
    out.append(chunk.data(), static_cast<size_t>(got));
  }
}

}  // namespace qv::platform
