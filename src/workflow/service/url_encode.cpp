#include "workflow/service/url_encode.h"

namespace qv::workflow {
namespace {

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.' || byte == '~';
}

std::string Encode(std::string_view text, bool blank_as_plus) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte)) {
      encoded += c;
    } else if (byte == ' ' && blank_as_plus) {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

}  // namespace

std::string UrlEncode(std::string_view text) { return Encode(text, true); }

std::string PercentEncodeQueryValue(std::string_view value) { return Encode(value, false); }

void CutUrl(std::string& url, size_t max_length) {
  if (url.size() <= max_length) return;
  url.resize(max_length);
  // A '%' in the last two places starts an escape the cut has broken.
  const size_t tail = url.size() < 2 ? url.size() : 2;
  const size_t percent = url.find('%', url.size() - tail);
  if (percent != std::string::npos) url.resize(percent);
}

}  // namespace qv::workflow
