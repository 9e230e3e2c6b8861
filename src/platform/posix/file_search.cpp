#include "platform/file_search.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/path_resolution.h"

namespace qv::platform {
namespace {

constexpr std::string_view kAnyExtension = ".*";

// Length in bytes of the UTF-8 character starting at `pos` (1 for a byte that does not start one),
// so that '?' stands for one character as it does on the original platform.
size_t CharacterLength(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t length = 1;
  if (lead >= 0xF0) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  if (pos + length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// Iterative glob match with one back-track point for the last '*'; literal runs compare without
// regard to case one character at a time.
bool GlobMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0;
  size_t n = 0;
  size_t star_p = std::string_view::npos;
  size_t star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star_p = p++;
      star_n = n;
      continue;
    }
    if (p < pattern.size()) {
      const size_t name_len = CharacterLength(name, n);
      if (pattern[p] == '?') {
        ++p;
        n += name_len;
        continue;
      }
      const size_t pattern_len = CharacterLength(pattern, p);
      if (NamesMatchIgnoringCase(pattern.substr(p, pattern_len), name.substr(n, name_len))) {
        p += pattern_len;
        n += name_len;
        continue;
      }
    }
    if (star_p == std::string_view::npos) return false;
    p = star_p + 1;
    star_n += CharacterLength(name, star_n);
    n = star_n;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (GlobMatch(pattern, name)) return true;
  if (pattern.size() > kAnyExtension.size() && pattern.ends_with(kAnyExtension) &&
      name.find('.') == std::string_view::npos) {
    return GlobMatch(pattern.substr(0, pattern.size() - kAnyExtension.size()), name);
  }
  return false;
}

std::optional<FileSearch> FileSearch::Start(const std::string& folder, std::string pattern) {
  const auto resolved = ResolveExistingPath(folder);
  if (!resolved) return std::nullopt;
  DirHandle dir(opendir(resolved->c_str()));
  if (!dir) return std::nullopt;
  return FileSearch(std::move(dir), std::move(pattern));
}

bool FileSearch::Next(FoundEntry& entry) {
  while (const dirent* raw = readdir(dir_.get())) {
    const std::string_view name = raw->d_name;
    if (name == "." || name == ".." || !MatchesWildcard(pattern_, name)) continue;
    unsigned char type = raw->d_type;
    if (type == DT_UNKNOWN) {
      struct stat info {};
      if (fstatat(dirfd(dir_.get()), raw->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISLNK(info.st_mode) ? DT_LNK : DT_REG;
    }
    entry.name = std::string(name);
    entry.is_directory = type == DT_DIR;
    entry.is_symlink = type == DT_LNK;
    return true;
  }
  return false;
}

}  // namespace qv::platform
