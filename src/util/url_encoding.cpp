#include "util/url_encoding.h"

namespace qv::util {
namespace {

bool IsUrlSafe(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string PercentEncodeQueryValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUrlSafe(byte)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
    }
  }
  return out;
}

void CutUrl(std::string& url, size_t max_length) {
  if (url.size() <= max_length) return;
  url.resize(max_length);
  // A '%' in the last two places starts an escape the cut has broken.
  const size_t tail = url.size() < 2 ? url.size() : 2;
  const size_t percent = url.find('%', url.size() - tail);
  if (percent != std::string::npos) url.resize(percent);
}

}  // namespace qv::util
