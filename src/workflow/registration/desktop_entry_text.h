// The text of a desktop entry (.desktop file, Desktop Entry Specification 1.5), made from plain
// fields: the values escaped as the format's strings, the Exec line quoted by its own rules.
// Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::workflow {

// An additional action of an application ("[Desktop Action <id>]").
struct DesktopAction {
  std::string id;                      // letters, digits and '-' only
  std::string name;
  std::vector<std::string> command;    // program and arguments, as given
};

// An application entry. Texts are UTF-8. `command` holds the program and its arguments as they
// are (quoted and escaped on output); `field_code` ("%u", "%f", ...) follows them unquoted.
struct DesktopEntry {
  std::string name;
  std::vector<std::pair<std::string, std::string>> localized_names;  // locale, name
  std::string comment;
  std::vector<std::string> command;
  std::string field_code;
  std::string working_folder;          // Path=, none when empty
  std::string icon;                    // an icon name of the theme or an absolute file
  std::vector<std::string> categories;
  std::vector<std::string> mime_types;
  bool startup_notify = false;
  bool no_display = false;
  // Keys of our own ("X-..."), after the standard ones.
  std::vector<std::pair<std::string, std::string>> extension_keys;
  std::vector<DesktopAction> actions;
};

// The version the files declare. They use nothing that 1.5 added, so they are 1.4 files too,
// and 1.4 is what the validators and desktops of today's distributions accept.
inline constexpr std::string_view kDesktopEntryVersion = "1.4";

// One argument of an Exec line: as it is when it holds no reserved character; otherwise in
// double quotes with '"', '`', '$' and '\' preceded by '\'. A '%' is doubled either way.
std::string QuoteExecArgument(std::string_view argument);

// A value of type string or localestring: '\' and the control characters newline, tab and
// carriage return as the escapes "\\", "\n", "\t", "\r"; a leading blank as "\s". Other control
// characters are not allowed in a value and become blanks.
std::string EscapeDesktopValue(std::string_view value);

// The value of an Exec key: each argument quoted, then the whole escaped as a string.
std::string ExecValue(const std::vector<std::string>& command, std::string_view field_code = {});

// The whole file: "[Desktop Entry]" with Type=Application and Version=kDesktopEntryVersion, the keys that have a
// value, then one group per action. Lines end in '\n'.
std::string DesktopEntryText(const DesktopEntry& entry);

}  // namespace qv::workflow
