// An unsigned decimal number that is the whole of a text: what header fields and records carry.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qv::util {

// Nullopt for empty text, a sign, any other character, or a value past 64 bits.
inline std::optional<uint64_t> WholeDecimal(std::string_view text) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace qv::util
