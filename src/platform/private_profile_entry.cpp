#include "platform/private_profile_entry.h"

namespace qv::platform {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr char kCommentMark = ';';
// Characters a written name cannot hold and still be read back.
constexpr std::string_view kUnreadableInSection("]\r\n\0", 4);
constexpr std::string_view kUnreadableInKey("=\r\n\0", 4);

bool IsWritableSectionName(std::string_view name) {
  return !name.empty() && name.find_first_of(kUnreadableInSection) == std::string_view::npos;
}

bool IsWritableKeyName(std::string_view name) {
  return !name.empty() && name.find_first_of(kUnreadableInKey) == std::string_view::npos &&
         name.front() != '[' && name.front() != kCommentMark;
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<ProfileEntry> PrepareProfileEntry(std::string_view section, std::string_view key,
                                                std::string_view value) {
  ProfileEntry entry;
  entry.section = TrimProfileBlanks(section);
  entry.key = TrimProfileBlanks(key);
  if (!IsWritableSectionName(entry.section) || !IsWritableKeyName(entry.key)) return std::nullopt;
  entry.value = std::string(value.substr(0, value.find('\0')));  // text ends at a NUL, as it did
  for (char& c : entry.value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return entry;
}

}  // namespace qv::platform
