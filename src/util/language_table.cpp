#include "util/language_table.h"

#include <pugixml.hpp>

namespace qv::util {
namespace {

constexpr uint16_t kPrimaryChinese = 0x04;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

const Language* FindLanguage(std::string_view code) {
  for (const Language& language : kLanguages) {
    if (language.short_code == code) return &language;
  }
  return nullptr;
}

std::string_view LanguageCodeForLangId(uint16_t lang_id) {
  switch (lang_id & 0xFF) {
    case 0x01: return "ar";
    case 0x03: return "es";  // Catalan
    case kPrimaryChinese:
      switch (lang_id) {
        case 0x0004: case 0x0804: case 0x1004: case 0x7804: return "zh_CN";
        default: return "zh_TW";
      }
    case 0x07: return "de";
    case 0x0A: return "es";
    case 0x0C: return "fr";
    case 0x10: return "it";
    case 0x15: return "pl";
    case 0x16: return "pt";
    case 0x19: return "ru";
    case 0x1E: return "th";
    case 0x1F: return "tr";
    case 0x21: return "id";
    case 0x6D: return "ru";  // Bashkir
    default: return "en";
  }
}

std::string ExpandEscapes(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c != '\\' || i + 1 == value.size()) {
      out.push_back(c);
      continue;
    }
    switch (value[i + 1]) {
      case '\\': out.push_back('\\'); ++i; break;
      case 'n': out.push_back('\n'); ++i; break;
      case 'r': out.push_back('\r'); ++i; break;
      case 't': out.push_back('\t'); ++i; break;
      default: out.push_back('\\'); break;  // the next character is taken as it is
    }
  }
  return out;
}

std::u16string DecodeUpToInvalid(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      i += 1;
    } else if ((b0 & 0xE0) == 0xC0) {
      if (i + 1 >= utf8.size()) break;
      const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
      if (!IsContinuation(b1)) break;
      const char16_t unit = static_cast<char16_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F));
      if (unit < 0x80) break;  // overlong
      out.push_back(unit);
      i += 2;
    } else if ((b0 & 0xF0) == 0xE0) {
      if (i + 2 >= utf8.size()) break;
      const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
      const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
      if (!IsContinuation(b1) || !IsContinuation(b2)) break;
      const char16_t unit =
          static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
      if (unit < 0x800) break;                    // overlong
      if (unit >= 0xD800 && unit <= 0xDFFF) break;  // a surrogate is no character
      out.push_back(unit);
      i += 3;
    } else {
      break;  // a continuation byte without a lead, or a four-byte (or longer) sequence
    }
  }
  return out;
}

bool LanguageTable::Load(std::span<const unsigned char> bytes) {
  if (bytes.empty()) return false;
  pugi::xml_document document;
  if (!document.load_buffer(bytes.data(), bytes.size())) return false;
  const pugi::xml_node root = document.child("Language");
  if (!root) return true;
  for (pugi::xml_node item = root.child("Item"); item; item = item.next_sibling("Item")) {
    entries_.try_emplace(item.attribute("key").value(), item.attribute("value").value());
  }
  return true;
}

std::u16string LanguageTable::Translate(std::string_view key) const {
  const auto found = entries_.find(key);
  if (found == entries_.end()) return DecodeUpToInvalid(key);
  return DecodeUpToInvalid(ExpandEscapes(found->second));
}

}  // namespace qv::util
