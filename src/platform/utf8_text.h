// Measures of UTF-8 text for the stand-ins that keep the original platform's UTF-16 rules
// (buffer and value sizes in UTF-16 units) while speaking UTF-8 at the OS boundary. (Names that
// match without regard to case: path_resolution.h.)
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::platform {

// How many UTF-16 units the text takes once converted: one per code point, two for a code point
// above U+FFFF (a four-byte sequence). Each byte that cannot start or continue a sequence counts
// as one unit, as the U+FFFD that replaces it would.
size_t Utf16Length(std::string_view utf8);

// True when every byte of `text` belongs to a well-formed UTF-8 sequence (no surrogates, nothing
// above U+10FFFF, no overlong forms).
bool IsWellFormedUtf8(std::string_view text);

// The longest prefix of `utf8` that takes at most `max_units` UTF-16 units, never splitting a
// code point.
std::string_view Utf16Prefix(std::string_view utf8, size_t max_units);

// The longest prefix of `utf8` that takes at most `max_bytes` bytes without splitting a
// well-formed multi-byte sequence: text cut to a fixed-size field keeps whole characters. A byte
// that is not part of a well-formed sequence is one character of its own.
std::string_view Utf8Prefix(std::string_view utf8, size_t max_bytes);

}  // namespace qv::platform
