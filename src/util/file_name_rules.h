// Rules for text that becomes a file name.
#pragma once

#include <string_view>

namespace qv::util {

// True when `name` holds a character the original platform forbids in file names
// (< > : " / \ | ? * and the control characters U+0000 to U+001F), so that a file of that name
// could not be made there either.
bool HasForbiddenFileNameCharacter(std::u16string_view name);

}  // namespace qv::util
