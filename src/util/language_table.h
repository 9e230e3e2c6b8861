// The interface's string tables: the fourteen languages, the table of one language and the text
// it gives for an English key.
//
// A table is an XML document (root "Language", one <Item key="..." value="..."></Item> per text)
// carried as a program resource. The program always asks for the English text; Translate answers
// the chosen language's text, or the key itself when the table has none, so the interface works in
// English without any table.
//
// Toolkit-free: the windows, the installing task and the fuzzers use it alike.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace qv::util {

struct Language {
  std::string_view short_code;   // what config.ini remembers ("zh_TW")
  std::string_view language_id;  // what the web service receives ("zh-zh")
  int resource_id;               // the table's resource: kFirstLanguageResourceId + row
};

inline constexpr int kFirstLanguageResourceId = 138;

// In row order, which is also the order in which a remembered code is looked up.
inline constexpr std::array<Language, 14> kLanguages = {{
    {"ar", "ar-ar", 138},
    {"de", "de-de", 139},
    {"en", "en-us", 140},
    {"es", "es-es", 141},
    {"fr", "fr-fr", 142},
    {"id", "id-id", 143},
    {"it", "it-it", 144},
    {"pl", "pl-pl", 145},
    {"pt", "pt-pt", 146},
    {"ru", "ru-ru", 147},
    {"th", "th-th", 148},
    {"tr", "tr-tr", 149},
    {"zh_CN", "zh-cn", 150},
    {"zh_TW", "zh-zh", 151},
}};

// The row whose short code is exactly `code` (case included), or nullptr.
const Language* FindLanguage(std::string_view code);

// The short code for a language id of the original platform (LANGID), chosen by its low byte
// (the primary language); Chinese also looks at the sub-language: simplified for 0x0004, 0x0804,
// 0x1004 and 0x7804, traditional otherwise. Languages without a table give "en".
std::string_view LanguageCodeForLangId(uint16_t lang_id);

// A value's backslash escapes expanded: "\\\\" gives one backslash, "\\n" a line feed, "\\r" a
// carriage return, "\\t" a tab; a backslash before anything else stays as it is.
std::string ExpandEscapes(std::string_view value);

// UTF-8 decoded into UTF-16 up to the first byte that does not start a complete one-, two- or
// three-byte sequence (a stray continuation byte, a four-byte sequence, an overlong form, an
// encoded surrogate, a sequence cut short): what was decoded until there is the result.
std::u16string DecodeUpToInvalid(std::string_view utf8);

// One language's entries. Not thread-safe by itself (the process's table below guards its own).
class LanguageTable {
 public:
  // Adds the entries of a table document (the whole of `bytes`): the first value of a key wins,
  // also over entries already held. False for no bytes or a document that does not parse (the
  // entries stay as they were); a document without a "Language" root loads nothing and succeeds.
  bool Load(std::span<const unsigned char> bytes);

  // The value of `key` with its escapes expanded, or `key` itself unexpanded when the table lacks
  // it; decoded by DecodeUpToInvalid.
  std::u16string Translate(std::string_view key) const;

  size_t size() const { return entries_.size(); }
  const std::map<std::string, std::string, std::less<>>& entries() const { return entries_; }

 private:
  std::map<std::string, std::string, std::less<>> entries_;
};

}  // namespace qv::util
