// Conversions between wide text (UTF-16 code units) and narrow text (bytes).
//
// The "ANSI code page" of this platform is UTF-8, so the ANSI and UTF-8 pairs agree; both names
// are kept because callers say which encoding they mean. Every conversion reads its input as
// NUL-terminated (nothing after an embedded NUL is converted) and never fails loudly: ill-formed
// input is decoded with U+FFFD in place of each maximal ill-formed subsequence, and a lone
// surrogate is encoded as U+FFFD, as the system converters of the original platform do.
#pragma once

#include <string>
#include <string_view>

namespace qv::util {

std::u16string AnsiToWide(std::string_view narrow);
std::string WideToAnsi(std::u16string_view wide);
std::u16string Utf8ToWide(std::string_view narrow);
std::string WideToUtf8(std::u16string_view wide);

}  // namespace qv::util
