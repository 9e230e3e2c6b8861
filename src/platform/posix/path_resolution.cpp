#include "platform/path_resolution.h"

#include <locale.h>
#include <sys/stat.h>
#include <wctype.h>

#include <algorithm>
#include <vector>

#include "platform/posix/os_handles.h"

namespace qv::platform {
namespace {

// Bytes that do not start a well-formed UTF-8 sequence are compared as themselves, mapped above
// the Unicode range so they never equal a character.
constexpr char32_t kRawByteBase = 0x110000;

// Decodes one character at `pos` and advances past it.
char32_t NextCharacter(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  }
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return kRawByteBase + lead;
  }
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kRawByteBase + lead;
    }
    value = (value << 6) | (next & 0x3F);
  }
  pos += length;
  return value;
}

// The case mapping is that of the C.UTF-8 locale, loaded once; without it, ASCII only.
char32_t UpperCase(char32_t c) {
  static const locale_t utf8_locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (c >= kRawByteBase) return c;
  if (utf8_locale) return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), utf8_locale));
  return (c >= U'a' && c <= U'z') ? c - (U'a' - U'A') : c;
}

bool EntryExists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

// The entry of `folder` whose name matches `name` without regard to case; when several do
// (a case-sensitive file system may hold both "A" and "a"), the lowest name, so the choice is
// the same every time.
std::optional<std::string> FindEntryIgnoringCase(const std::string& folder, std::string_view name) {
  DirHandle dir(opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return std::nullopt;
  std::vector<std::string> matches;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view entry_name = entry->d_name;
    if (entry_name == "." || entry_name == "..") continue;
    if (NamesMatchIgnoringCase(entry_name, name)) matches.emplace_back(entry_name);
  }
  if (matches.empty()) return std::nullopt;
  return *std::min_element(matches.begin(), matches.end());
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> components;
  size_t start = 0;
  while (start < path.size()) {
    const size_t end = std::min(path.find('/', start), path.size());
    if (end > start) components.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return components;
}

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

// Resolves the components one by one. With `may_be_new`, the first component that has no match
// and every one after it (they cannot exist: their folder does not) stay as given.
std::optional<std::string> Resolve(const std::string& path, bool may_be_new) {
  if (path.empty()) return std::nullopt;
  const auto components = SplitComponents(path);
  std::string resolved = path.front() == '/' ? "/" : "";
  size_t first = 0;
  // Usually only the last component is missing (a new file in an existing folder): then the
  // parent is taken as it is, without a look at each of its components.
  if (components.size() > 1) {
    std::string parent = resolved;
    for (size_t i = 0; i + 1 < components.size(); ++i) parent = Join(parent, components[i]);
    if (EntryExists(parent)) {
      resolved = std::move(parent);
      first = components.size() - 1;
    }
  }
  bool missing = false;
  for (size_t i = first; i < components.size(); ++i) {
    const std::string_view component = components[i];
    std::string exact = Join(resolved, component);
    if (missing || component == "." || component == ".." || EntryExists(exact)) {
      resolved = std::move(exact);
      continue;
    }
    if (auto match = FindEntryIgnoringCase(resolved, component)) {
      resolved = Join(resolved, *match);
    } else if (may_be_new) {
      resolved = std::move(exact);
      missing = true;
    } else {
      return std::nullopt;
    }
  }
  if (resolved.empty()) return std::nullopt;
  if (path.back() == '/' && resolved.back() != '/') resolved.push_back('/');
  return resolved;
}

}  // namespace

bool NamesMatchIgnoringCase(std::string_view a, std::string_view b) {
  size_t pos_a = 0;
  size_t pos_b = 0;
  while (pos_a < a.size() && pos_b < b.size()) {
    if (UpperCase(NextCharacter(a, pos_a)) != UpperCase(NextCharacter(b, pos_b))) return false;
  }
  return pos_a == a.size() && pos_b == b.size();
}

std::optional<std::string> ResolveExistingPath(const std::string& path) {
  if (!path.empty() && EntryExists(path)) return path;
  return Resolve(path, false);
}

std::string ResolvePathForCreation(const std::string& path) {
  if (path.empty() || EntryExists(path)) return path;
  return Resolve(path, true).value_or(path);
}

}  // namespace qv::platform
