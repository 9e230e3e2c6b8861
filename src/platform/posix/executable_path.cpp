#include "platform/executable_path.h"

#include <unistd.h>

#include <vector>

namespace qv::platform {
namespace {

constexpr size_t kInitialPathBytes = 256;
constexpr size_t kMaxPathBytes = 1 << 16;

}  // namespace

std::string ExecutablePath() {
  // readlink does not say how long the link is; grow until the text fits.
  for (size_t size = kInitialPathBytes; size <= kMaxPathBytes; size *= 2) {
    std::vector<char> buffer(size);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<size_t>(length));
    }
  }
  return std::string();
}

}  // namespace qv::platform
