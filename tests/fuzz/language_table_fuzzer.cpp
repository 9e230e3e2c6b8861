// A language table document loaded and asked for texts with Translate.
//
// Beyond "no crash": a document that does not load adds nothing, loading it again changes
// nothing (the first value of a key wins); every text Translate gives is well-formed UTF-16
// without surrogates and, encoded again, the start of what it stands for: the value with its
// escapes expanded, or the key itself when the table lacks it.
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "util/language_table.h"
#include "util/text_conversion.h"

namespace {

bool HasSurrogate(const std::u16string& text) {
  for (const char16_t unit : text) {
    if (unit >= 0xD800 && unit <= 0xDFFF) return true;
  }
  return false;
}

// Whether `text` is a start of `whole`, as UTF-8.
bool Begins(std::string_view whole, const std::u16string& text) {
  return whole.starts_with(qv::util::WideToUtf8(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  qv::util::LanguageTable table;
  const bool loaded = table.Load(bytes);
  if (!loaded) QV_FUZZ_CHECK(table.size() == 0);
  const std::map<std::string, std::string, std::less<>> entries = table.entries();
  QV_FUZZ_CHECK(table.Load(bytes) == loaded);
  QV_FUZZ_CHECK(table.entries() == entries);

  for (const auto& [key, value] : entries) {
    const std::u16string text = table.Translate(key);
    QV_FUZZ_CHECK(!HasSurrogate(text));
    QV_FUZZ_CHECK(Begins(qv::util::ExpandEscapes(value), text));
  }
  // The document's own bytes as a key the table (almost surely) lacks.
  const std::string_view unknown(reinterpret_cast<const char*>(data), size);
  if (entries.find(unknown) == entries.end()) {
    const std::u16string text = table.Translate(unknown);
    QV_FUZZ_CHECK(!HasSurrogate(text));
    QV_FUZZ_CHECK(Begins(unknown, text));
  }
  return 0;
}
