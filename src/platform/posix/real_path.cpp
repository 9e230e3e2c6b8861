#include "platform/real_path.h"

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "platform/path_resolution.h"

namespace qv::platform {
namespace {

struct FreeDeleter {
  void operator()(char* text) const { std::free(text); }
};

}  // namespace

std::optional<std::string> RealPath(const std::string& path) {
  const std::optional<std::string> resolved = ResolveExistingPath(path);
  if (!resolved) return std::nullopt;
  const std::unique_ptr<char, FreeDeleter> real(::realpath(resolved->c_str(), nullptr));
  if (!real) return std::nullopt;
  return std::string(real.get());
}

bool IsSymbolicLink(const std::string& path) {
  // "link/" would name what the link points to.
  std::string entry = path;
  while (entry.size() > 1 && entry.back() == '/') entry.pop_back();
  const std::optional<std::string> resolved = ResolveExistingPath(entry);
  struct stat info {};
  return resolved && ::lstat(resolved->c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

}  // namespace qv::platform
