// The private-profile (ini) file calls of the original platform, on UTF-8 files.
//
// A file is lines of "[section]" and "key=value" (UTF-8 without byte-order mark when we create
// it; a mark and CRLF line ends are accepted). Section and key names match without regard to
// case; blanks and tabs around names and values are not part of them, and a value enclosed in a
// pair of matching quotes (" or ') is read without them. Lines that are neither (comments
// starting with ';', anything unreadable) are kept as they are and never match.
//
// Writes are read-modify-write under the file's lock with an atomic replacement (atomic_file.h):
// concurrent writers in any process never lose each other's keys, and a reader sees the old file
// or the new one whole. Thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::platform {

// GetPrivateProfileString: the value of `key` in `section` of `file`, or `default_value` (less
// trailing blanks) when the file, the section or the key is missing. At most buffer_size - 1
// UTF-16 units are copied into `out` (a code point is never split); returns the units copied.
size_t GetPrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view default_value, std::string& out, size_t buffer_size,
                               const std::string& file);

// GetPrivateProfileInt: the value read as an integer (optional sign, then the leading decimal
// digits, or hexadecimal digits after "0x"; no digits gives 0; larger numbers wrap at 32 bits as
// in the original), or `default_value` when the key is missing or its value empty.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int default_value,
                         const std::string& file);

// WritePrivateProfileString: sets `key` in `section` to `value`. The file and the section are
// created when missing (the folder must exist); an existing key's line is replaced in place and
// every other byte of the file stays as it was. `value` ends at its first NUL; line breaks in it
// become blanks, so a value can never add a line. Refused (false): an empty section or key, a
// section holding ']', a line break or NUL, a key holding '=', a line break or NUL or starting
// with '[' or ';' (they could not be read back), and any I/O failure.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& file);

}  // namespace qv::platform
