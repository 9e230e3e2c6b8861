// Percent-encoding of form values for the statistics reports.
#pragma once

#include <string>
#include <string_view>

namespace qv::workflow {

// Byte by byte: ASCII letters, digits and "-_.~" are kept, a blank becomes '+', every other byte
// (each byte of a multi-byte character included) becomes '%' and two upper-case hex digits.
std::string UrlEncode(std::string_view text);

}  // namespace qv::workflow
