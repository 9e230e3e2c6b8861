// Percent-encoding of values placed into a URL's query.
#pragma once

#include <string>
#include <string_view>

namespace qv::util {

// `value` with every byte outside the URL-safe set (ASCII letters, digits, '-', '.', '_', '~')
// written as '%' and two upper-case hexadecimal digits. A value made of safe bytes only comes
// back unchanged, so the usual package codes, language ids and client ids travel as they are.
std::string PercentEncodeQueryValue(std::string_view value);

// Cuts `url` to at most `max_length` bytes without leaving half of a "%XX" escape at its end.
void CutUrl(std::string& url, size_t max_length);

}  // namespace qv::util
