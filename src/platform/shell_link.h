// Shortcut files through the system's own shell-link object, where the system has one.
//
// On Windows the shell writes the file (CoCreateInstance(CLSID_ShellLink) with IShellLinkW,
// saved with IPersistFile); on Linux there is no such object, and the caller writes the file
// format itself (workflow/shortcuts/shell_link.h). Thread-safe: each call has its own object.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv::platform {

// What a shortcut holds. A field left empty (nullopt) is not set at all.
struct ShellLinkFields {
  std::u16string target;
  std::optional<std::u16string> arguments;
  std::optional<std::u16string> icon;  // icon file, always index 0
  std::optional<std::u16string> working_directory;
  std::optional<std::u16string> description;
  int32_t show_command = 1;  // SW_SHOWNORMAL
};

// Saves the shortcut at `path` through the system: true when the system saved it, false when
// it failed; nullopt where the system has no shell-link object.
std::optional<bool> SaveShellLinkThroughSystem(const std::string& path,
                                               const ShellLinkFields& fields);

}  // namespace qv::platform
