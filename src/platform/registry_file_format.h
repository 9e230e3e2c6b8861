// The text form of a registry root on disk: the registry editor's export format, UTF-8.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\qvorvane\main]
//   @="default value"
//   "client_id"="0123..."
//   "count"=dword:0000002a
//
// Names and string data are quoted; inside the quotes '\' is written "\\" and '"' is written
// "\"", and, beyond what the editor writes, a line feed is "\n" and a carriage return "\r", so
// no name or data can start a line of its own or a key. Keys come in the order they were made,
// values in the order they were first written. Blank lines and ';' comment lines are skipped
// when reading (and not written back); CRLF line ends and a UTF-8 byte-order mark are accepted.
// Anything else the store does not write itself (other value types, deletion lines, a key of
// another root, a value outside a key) makes the file "damaged".
#pragma once

#include <string>
#include <string_view>

#include "platform/registry_hive.h"

namespace qv::platform {

// The first line of every file.
inline constexpr std::string_view kRegistryFileHeader = "Windows Registry Editor Version 5.00";

// Parses `text` as the file of the root named `root_name` ("HKEY_CURRENT_USER"). An empty text
// is an empty hive. Returns false when the text is damaged; `out` is then unspecified.
bool ParseRegistryFile(std::string_view text, std::string_view root_name, RegistryHive& out);

std::string SerializeRegistryFile(const RegistryHive& hive, std::string_view root_name);

}  // namespace qv::platform
