// Rules for text that becomes one component of a path.
#pragma once

#include <string_view>

namespace qv::util {

// True when `name` can stand as one component of a path without leaving its folder: not empty,
// not "." or "..", and free of '/', '\' and control characters. Text from outside (a game id
// from the package answer) must pass this before it is appended to a folder.
bool IsPlainNameComponent(std::u16string_view name);

// True when `name` holds a character the original platform forbids in file names
// (< > : " / \ | ? * and the control characters U+0001 to U+001F, and NUL), so that a file of
// that name could not be made there either.
bool HasForbiddenFileNameCharacter(std::u16string_view name);

}  // namespace qv::util
