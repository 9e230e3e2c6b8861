#include "util/zip_entry_name.h"

#include <algorithm>

#include "platform/path_syntax.h"
#include "platform/portable_names.h"

namespace qv::util {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::optional<std::string> SafeEntryPath(std::string_view stored_name) {
  if (stored_name.empty() || stored_name.find('\0') != std::string_view::npos) return std::nullopt;
  std::string path(stored_name);
  std::replace(path.begin(), path.end(), '\\', '/');
  std::replace(path.begin(), path.end(), '/', platform::kPathSeparator);
  if (path.front() == platform::kPathSeparator) return std::nullopt;
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') return std::nullopt;

  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find(platform::kPathSeparator, start), path.size());
    const std::string_view component = std::string_view(path).substr(start, end - start);
    // Empty and "." components keep their shape; anything else must be one plain entry on this
    // system (on Windows no device, stream, drive-relative name or trailing dot or blank).
    if (component == ".." ||
        (!component.empty() && component != "." &&
         !platform::IsPlainComponentOnThisSystem(component))) {
      return std::nullopt;
    }
    start = end + 1;
  }
  return path;
}

std::string JoinEntryTarget(std::string_view folder, std::string_view relative) {
  std::string target(folder);
  if (!target.empty() && target.back() != platform::kPathSeparator) target += platform::kPathSeparator;
  target += relative;
  return target;
}

}  // namespace qv::util
