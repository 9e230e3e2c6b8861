#include "platform/utf8_text.h"

#include <gtest/gtest.h>

namespace qv::platform {
namespace {

TEST(Utf8TextTest, CountsAndCutsInUtf16Units) {
  struct Case {
    std::string text;
    size_t units;
    size_t max_units;
    std::string prefix;
  };
  const Case cases[] = {
      {"", 0, 3, ""},
      {"abc", 3, 2, "ab"},
      {"\xC3\xA9t\xC3\xA9", 3, 2, "\xC3\xA9t"},                  // "été": two-byte letters count one
      {"\xE2\x85\xA2x", 2, 1, "\xE2\x85\xA2"},                   // "Ⅲx"
      {"a\xF0\x9F\x98\x80" "b", 4, 2, "a"},                     // an emoji takes two; not split
      {"a\xF0\x9F\x98\x80" "b", 4, 3, "a\xF0\x9F\x98\x80"},
      {"\xFF\xC3", 2, 1, "\xFF"},                                 // ill-formed bytes count one each
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16Length(c.text), c.units) << c.text;
    EXPECT_EQ(Utf16Prefix(c.text, c.max_units), c.prefix) << c.text;
  }
}

TEST(Utf8TextTest, NamesMatchWithoutRegardToCaseInEveryScript) {
  struct Case {
    std::string a;
    std::string b;
    bool match;
  };
  const Case cases[] = {
      {"Software\\QVorvane", "SOFTWARE\\qvorvane", true},
      {"\xC3\xBC" "ber", "\xC3\x9C" "BER", true},                    // über / ÜBER
      {"\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87", "\xD0\x9A\xD0\x9B\xD0\xAE\xD0\xA7", true},  // ключ / КЛЮЧ
      {"\xCE\xB1\xCE\xB2", "\xCE\x91\xCE\x92", true},                // αβ / ΑΒ
      {"abc", "abd", false},
      {"a b", "ab", false},
      {"\xFF" "a", "\xFF" "A", true},                                // ill-formed bytes kept as they are
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NamesMatchIgnoringCase(c.a, c.b), c.match) << c.a << " / " << c.b;
  }
}

}  // namespace
}  // namespace qv::platform
