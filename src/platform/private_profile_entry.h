// The checks both sides of the profile files apply before an entry is written
// (private_profile.h). Internal to the platform layer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::platform {

struct ProfileEntry {
  std::string_view section;  // trimmed
  std::string_view key;      // trimmed
  std::string value;         // up to its first NUL, line breaks turned into blanks
};

// The entry as it is written, or nullopt when it is refused (it could not be read back).
std::optional<ProfileEntry> PrepareProfileEntry(std::string_view section, std::string_view key,
                                                std::string_view value);

// The text without the blanks and tabs around it.
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace qv::platform
