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
      {"", 0, 3, ""},      {"abc", 3, 2, "ab"},
      {"été", 3, 2, "ét"},                              // "été": two-byte letters count one
      {"Ⅲx", 2, 1, "Ⅲ"},                                // "Ⅲx"
      {"a😀b", 4, 2, "a"},                               // an emoji takes two; not split
      {"a😀b", 4, 3, "a😀"}, {"\xFF\xC3", 2, 1, "\xFF"},  // ill-formed bytes count one each
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
      {"über", "ÜBER", true},  // über / ÜBER
      {"ключ", "КЛЮЧ", true},  // ключ / КЛЮЧ
      {"αβ", "ΑΒ", true},      // αβ / ΑΒ
      {"abc", "abd", false},
      {"a b", "ab", false},
      {"\xFF"
       "a",
       "\xFF"
       "A",
       true},  // ill-formed bytes kept as they are
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NamesMatchIgnoringCase(c.a, c.b), c.match) << c.a << " / " << c.b;
  }
}

}  // namespace
}  // namespace qv::platform
