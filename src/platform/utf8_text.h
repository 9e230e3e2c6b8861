// Measures and name matching on UTF-8 text for the stand-ins that keep the original platform's
// UTF-16 rules (buffer sizes in UTF-16 units, names that match without regard to case) while
// speaking UTF-8 at the OS boundary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::platform {

// How many UTF-16 units the text takes once converted: one per code point, two for a code point
// above U+FFFF (a four-byte sequence). Each byte that cannot start or continue a sequence counts
// as one unit, as the U+FFFD that replaces it would.
size_t Utf16Length(std::string_view utf8);

// The longest prefix of `utf8` that takes at most `max_units` UTF-16 units, never splitting a
// code point.
std::string_view Utf16Prefix(std::string_view utf8, size_t max_units);

// A key for comparing names without regard to letter case: every code point mapped to upper
// case by the Unicode simple mapping (fixed, not the process locale). Ill-formed bytes stay.
std::string CaseFoldKey(std::string_view utf8);

bool NamesMatchIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qv::platform
