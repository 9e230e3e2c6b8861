// The parts of the file search (file_search.h) that hold on every system: the wildcard match,
// and the walk over the system's listing.
#include "platform/file_search.h"

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

FileSearch::FileSearch(ListingHandle listing, std::string pattern)
    : listing_(std::move(listing)), pattern_(std::move(pattern)) {}
FileSearch::FileSearch(FileSearch&&) noexcept = default;
FileSearch& FileSearch::operator=(FileSearch&&) noexcept = default;
FileSearch::~FileSearch() = default;

bool FileSearch::Next(FoundEntry& entry) {
  while (listing_ && NextListed(entry)) {
    if (entry.name != "." && entry.name != ".." && MatchesWildcard(pattern_, entry.name)) {
      return true;
    }
  }
  return false;
}

}  // namespace qv::platform
