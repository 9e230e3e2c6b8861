#include "platform/utf8_text.h"

#include <cstdint>

namespace qv::platform {
namespace {

constexpr char32_t kNoCodePoint = 0xFFFFFFFF;

// Decodes the well-formed sequence at `text[at]`; returns its length and sets `code_point`, or
// returns 1 with kNoCodePoint for a byte that does not start a well-formed sequence.
size_t DecodeAt(std::string_view text, size_t at, char32_t& code_point) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    code_point = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    code_point = kNoCodePoint;
    return 1;
  }
  if (at + length > text.size()) {
    code_point = kNoCodePoint;
    return 1;
  }
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      code_point = kNoCodePoint;
      return 1;
    }
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    code_point = kNoCodePoint;
    return 1;
  }
  code_point = value;
  return length;
}

}  // namespace

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (size_t at = 0; at < utf8.size();) {
    char32_t cp;
    at += DecodeAt(utf8, at, cp);
    units += (cp != kNoCodePoint && cp > 0xFFFF) ? 2 : 1;
  }
  return units;
}

bool IsWellFormedUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    char32_t cp;
    at += DecodeAt(text, at, cp);
    if (cp == kNoCodePoint) return false;
  }
  return true;
}

std::string_view Utf16Prefix(std::string_view utf8, size_t max_units) {
  size_t units = 0;
  size_t at = 0;
  while (at < utf8.size()) {
    char32_t cp;
    const size_t length = DecodeAt(utf8, at, cp);
    const size_t needed = (cp != kNoCodePoint && cp > 0xFFFF) ? 2 : 1;
    if (units + needed > max_units) break;
    units += needed;
    at += length;
  }
  return utf8.substr(0, at);
}

std::string_view Utf8Prefix(std::string_view utf8, size_t max_bytes) {
  if (utf8.size() <= max_bytes) return utf8;
  // Only the sequence that straddles the cut matters; it starts at most three bytes before it.
  size_t at = max_bytes >= 3 ? max_bytes - 3 : 0;
  while (at < max_bytes) {
    char32_t cp;
    const size_t length = DecodeAt(utf8, at, cp);
    if (at + length > max_bytes) break;
    at += length;
  }
  return utf8.substr(0, at);
}

}  // namespace qv::platform
