#include "workflow/shortcuts/base64_coding.h"

namespace qv::workflow {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPad = '=';
constexpr size_t kLineBreakSize = 2;  // CR LF

}  // namespace

size_t Base64EncodedLength(size_t length) {
  const size_t chars = (length + 2) / 3 * 4;
  const size_t breaks = chars == 0 ? 0 : (chars - 1) / kBase64LineLength;
  return chars + breaks * kLineBreakSize;
}

bool CBase64Coding::Base64Encode(const uint8_t* input, size_t length, char* output) {
  // Guard against overflow of the size computation before trusting it.
  if (length > kBase64OutputSize || Base64EncodedLength(length) + 1 > kBase64OutputSize) {
    return false;
  }
  size_t out = 0;
  size_t line = 0;
  auto put = [&](char c) {
    if (line == kBase64LineLength) {
      output[out++] = '\r';
      output[out++] = '\n';
      line = 0;
    }
    output[out++] = c;
    ++line;
  };
  for (size_t i = 0; i < length; i += 3) {
    const size_t left = length - i;
    const uint32_t group = (uint32_t{input[i]} << 16) |
                           (left > 1 ? uint32_t{input[i + 1]} << 8 : 0) |
                           (left > 2 ? uint32_t{input[i + 2]} : 0);
    put(kAlphabet[(group >> 18) & 0x3f]);
    put(kAlphabet[(group >> 12) & 0x3f]);
    put(left > 1 ? kAlphabet[(group >> 6) & 0x3f] : kPad);
    put(left > 2 ? kAlphabet[group & 0x3f] : kPad);
  }
  output[out] = '\0';
  return true;
}

}  // namespace qv::workflow
