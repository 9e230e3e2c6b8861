// Writing one text value of an open registry key, as every registration step does.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/registry.h"

namespace qv::workflow {

// The longest text a registration value holds, in UTF-16 units (a 512-unit buffer with its NUL).
inline constexpr size_t kMaxRegistrationTextLength = 511;

// WriteStringValue: stores `text` as the string value `name` of the open `key`. A text longer
// than kMaxRegistrationTextLength is refused (false, nothing written) rather than stored cut
// short, since a shortened path or command would name something else. True when stored.
bool WriteStringValue(platform::RegistryKey& key, std::u16string_view name,
                      std::u16string_view text);

}  // namespace qv::workflow
