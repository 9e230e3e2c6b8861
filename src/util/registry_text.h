// Reading one text value of the registry, shared by the client identity and the look-ups of an
// existing installation.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace qv::util {

// The largest value ReadRegistryText takes, in bytes as the registry stores strings (UTF-16 with
// the terminating NUL): at most 511 characters.
inline constexpr size_t kRegistryTextMaxBytes = 1024;

// Reads the string value `name` of the open `key` into `out` when it is text of at most
// `max_bytes` (as the registry stores strings). False, with `out` unchanged, otherwise. The key
// stays open.
bool ReadRegistryString(const platform::RegistryKey& key, std::u16string_view name,
                        size_t max_bytes, std::u16string& out);

// Reads the string value `name` of the open `key` into `out`. False when no key is open, the
// name is empty, the value is missing, larger than kRegistryTextMaxBytes or not a string (then
// `out` is unchanged). The key is closed afterwards in every case: the holder has no key.
bool ReadRegistryText(platform::RegistryKey& key, std::u16string_view name, std::u16string& out);

}  // namespace qv::util
