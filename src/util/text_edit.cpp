#include "util/text_edit.h"

namespace qv::util {

void ReplaceAll(std::u16string_view pattern, std::u16string& text, std::u16string_view replacement) {
  if (pattern.empty()) return;  // would otherwise match at every position for ever
  size_t position = 0;
  while ((position = text.find(pattern, position)) != std::u16string::npos) {
    text.replace(position, pattern.size(), replacement);
    position += replacement.size();
  }
}

bool IsWideSpace(char16_t unit) {
  switch (unit) {
    case 0x0009: case 0x000A: case 0x000B: case 0x000C: case 0x000D:
    case 0x0020: case 0x0085: case 0x00A0: case 0x1680:
    case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return unit >= 0x2000 && unit <= 0x200A;
  }
}

void TrimLeft(std::u16string& text) {
  size_t count = 0;
  while (count < text.size() && IsWideSpace(text[count])) ++count;
  text.erase(0, count);
}

void TrimRight(std::u16string& text) {
  size_t keep = text.size();
  while (keep > 0 && IsWideSpace(text[keep - 1])) --keep;
  text.erase(keep);
}

}  // namespace qv::util
