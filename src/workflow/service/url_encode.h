// Percent-encoding of values for the statistics reports' form bodies and the package query's URL.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::workflow {

// Byte by byte: ASCII letters, digits and "-_.~" are kept, a blank becomes '+', every other byte
// (each byte of a multi-byte character included) becomes '%' and two upper-case hex digits.
std::string UrlEncode(std::string_view text);

// The same for a value in a URL's query, where a blank too becomes "%20". A value made of kept
// bytes only comes back unchanged.
std::string PercentEncodeQueryValue(std::string_view value);

// Cuts `url` to at most `max_length` bytes without leaving half of a "%XX" escape at its end.
void CutUrl(std::string& url, size_t max_length);

}  // namespace qv::workflow
