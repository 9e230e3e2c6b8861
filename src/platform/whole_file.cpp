#include "platform/whole_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include "platform/os_handles.h"

namespace qv::platform {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  FdHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.valid()) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(file.get(), buffer, sizeof(buffer));
    if (got == 0) return text;
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace qv::platform
