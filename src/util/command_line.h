// Splitting a parameter line into arguments by the original platform's command-line rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::util {

// Blanks (space, tab) separate arguments; double quotes group (and may start or end inside an
// argument); "" inside a quoted part is one literal quote. Backslashes are literal unless they
// precede a double quote: then 2n backslashes give n and the quote groups, 2n+1 give n and a
// literal quote. A quoted empty text is an empty argument.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

}  // namespace qv::util
