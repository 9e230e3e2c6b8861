#include "workflow/url_encode.h"

namespace qv::workflow {
namespace {

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.' || byte == '~';
}

}  // namespace

std::string UrlEncode(std::string_view text) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte)) {
      encoded += c;
    } else if (byte == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

}  // namespace qv::workflow
