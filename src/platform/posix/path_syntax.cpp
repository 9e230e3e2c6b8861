#include "platform/path_syntax.h"

namespace qv::platform {

const char kPathSeparator = '/';
const std::string_view kPathSeparators = "/";

bool IsAbsolutePath(std::string_view path) { return path.starts_with('/'); }

bool IsLocalAbsolutePath(std::string_view path) { return IsAbsolutePath(path); }

bool SamePathText(std::string_view a, std::string_view b) { return a == b; }

bool IsFileSystemRoot(std::string_view path) {
  return !path.empty() && path.find_first_not_of('/') == std::string_view::npos;
}

}  // namespace qv::platform
