// Reading the web service's package answer (a JSON document) into an InstallRecord.
#pragma once

#include <string_view>

#include "workflow/packages/install_record.h"

namespace qv::workflow {

// The nesting depth the reader accepts; deeper documents are refused, not recursed into.
inline constexpr int kPackageAnswerMaxDepth = 64;

// Parses `body` (up to its first NUL) and, when it is an object whose "code" is the integer 0,
// stores every member of "data" that has its expected type into `record` (text cut to the
// field's size less one, decimal text read like atoi) and returns true. Any other document
// (not JSON, too deep, not an object, "code" missing, text or not 0) returns false and leaves
// `record` unchanged. Never throws.
bool ApplyPackageAnswer(std::string_view body, InstallRecord& record);

// The C library's atoi rule without its undefined overflow: leading white space, an optional
// sign, then decimal digits up to the first other character (0 when there are none); a value
// beyond the 32-bit range is held at its nearest end.
int32_t DecimalTextValue(std::string_view text);

}  // namespace qv::workflow
