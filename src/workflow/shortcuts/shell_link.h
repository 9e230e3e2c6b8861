// Shortcut files: real shell-link (.lnk) files. On Windows the system's shell-link object writes
// them (platform/shell_link.h); on Linux this file writes them as that shell would:
//
// A shortcut file holds the link header (show command, icon index 0), the LinkInfo block with the
// target's local base path (in the ANSI form, which is UTF-8 here, and in UTF-16) and the
// StringData texts in UTF-16LE: description (the link's name string), working folder,
// arguments and icon location. Tools that read .lnk files (lnkinfo, the compatibility layers
// that turn shortcuts into menu entries) read ours. Files are saved whole or not at all
// (platform/atomic_file.h). Thread-safe: no shared state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv::workflow {

// Window show states a shortcut may carry.
inline constexpr int32_t kShowNormal = 1;
inline constexpr int32_t kShow = 5;

// What CreateShellLink makes. A field left empty (nullopt) is not set at all; an empty text sets
// the property to empty, which in the file is the same as not setting it (the format keeps only
// texts with content).
struct ShellLinkDescription {
  std::optional<std::u16string> link_name;  // file name with ".lnk"; else from the target's name
  std::optional<std::u16string> folder;     // where the file goes; required
  std::optional<std::u16string> target;     // else the running installer's own executable
  std::optional<std::u16string> arguments;
  std::optional<std::u16string> icon;  // icon file, always index 0
  std::optional<std::u16string> working_directory;
  std::optional<std::u16string> description;
  int32_t show_command = kShowNormal;
};

// The bytes of the shortcut file for `description` with the target `target`; nullopt when a text
// is longer than the format's 16-bit character counts allow.
std::optional<std::string> SerializeShellLink(const ShellLinkDescription& description,
                                              const std::u16string& target);

// Saves the shortcut file as folder + file name (the folder ends in '/'); true when it was saved
// whole. Fails without touching anything when no folder (or an empty one) is given, when no link
// name is given and the target has no folder part (or a name of fewer than three characters to
// turn into "lnk"), and when the file name holds a character the original platform forbids in
// file names (so it can never name a path outside `folder`).
bool CreateShellLink(const ShellLinkDescription& description);

}  // namespace qv::workflow
