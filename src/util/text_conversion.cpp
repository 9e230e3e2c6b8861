#include "util/text_conversion.h"

#include <cstdint>

namespace qv::util {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

template <typename Char>
std::basic_string_view<Char> UpToFirstNul(std::basic_string_view<Char> text) {
  const auto nul = text.find(Char{0});
  return nul == std::basic_string_view<Char>::npos ? text : text.substr(0, nul);
}

void AppendUtf16(char32_t code_point, std::u16string& out) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
  } else {
    code_point -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
  }
}

void AppendUtf8(char32_t code_point, std::string& out) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

// Decodes UTF-8 following the Unicode "maximal subpart" practice: a lead byte followed by fewer
// valid continuation bytes than it announces gives one U+FFFD for the lead and the valid
// continuations, and decoding resumes at the first byte that did not fit. Overlong forms,
// surrogates and values above U+10FFFF are ill-formed.
std::u16string DecodeUtf8(std::string_view text) {
  text = UpToFirstNul(text);
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<uint8_t>(text[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    int length = 0;
    char32_t code_point = 0;
    uint8_t second_min = 0x80, second_max = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code_point = lead & 0x0F;
      if (lead == 0xE0) second_min = 0xA0;  // overlong
      if (lead == 0xED) second_max = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code_point = lead & 0x07;
      if (lead == 0xF0) second_min = 0x90;  // overlong
      if (lead == 0xF4) second_max = 0x8F;  // above U+10FFFF
    } else {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    size_t consumed = 1;
    bool complete = true;
    for (int k = 1; k < length; ++k) {
      if (i + consumed >= text.size()) {
        complete = false;
        break;
      }
      const auto byte = static_cast<uint8_t>(text[i + consumed]);
      const uint8_t low = k == 1 ? second_min : 0x80;
      const uint8_t high = k == 1 ? second_max : 0xBF;
      if (byte < low || byte > high) {
        complete = false;
        break;
      }
      code_point = (code_point << 6) | (byte & 0x3F);
      ++consumed;
    }
    AppendUtf16(complete ? code_point : kReplacement, out);
    i += consumed;
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  text = UpToFirstNul(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    char32_t code_point = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        code_point = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        ++i;
      } else {
        code_point = kReplacement;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      code_point = kReplacement;
    }
    AppendUtf8(code_point, out);
  }
  return out;
}

}  // namespace

std::u16string AnsiToWide(std::string_view narrow) { return DecodeUtf8(narrow); }
std::string WideToAnsi(std::u16string_view wide) { return EncodeUtf8(wide); }
std::u16string Utf8ToWide(std::string_view narrow) { return DecodeUtf8(narrow); }
std::string WideToUtf8(std::u16string_view wide) { return EncodeUtf8(wide); }

}  // namespace qv::util
