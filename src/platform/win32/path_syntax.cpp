#include "platform/path_syntax.h"

#include <algorithm>

namespace qv::platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}

}  // namespace

const char kPathSeparator = '\\';
const std::string_view kPathSeparators = "\\/";

bool IsAbsolutePath(std::string_view path) {
  if (StartsWithDrive(path)) return path.size() >= 3 && IsSeparator(path[2]);
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

bool IsLocalAbsolutePath(std::string_view path) {
  return StartsWithDrive(path) && path.size() >= 3 && IsSeparator(path[2]);
}

bool SamePathText(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsFileSystemRoot(std::string_view path) {
  if (StartsWithDrive(path)) {
    path.remove_prefix(2);
  } else if (path.empty()) {
    return false;
  }
  return path.find_first_not_of(kPathSeparators) == std::string_view::npos;
}

}  // namespace qv::platform
