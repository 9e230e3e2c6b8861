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
  // clang-format off
  const Case cases[] = {
      {"", 0, 3, ""},
      {"abc", 3, 2, "ab"},
      {"été", 3, 2, "ét"},         // two-byte letters count one unit
      {"Ⅲx", 2, 1, "Ⅲ"},           // so do three-byte ones
      {"a😀b", 4, 2, "a"},         // an emoji takes two units and is not split
      {"a😀b", 4, 3, "a😀"},
      {"\xFF\xC3", 2, 1, "\xFF"},  // ill-formed bytes count one each
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16Length(c.text), c.units) << c.text;
    EXPECT_EQ(Utf16Prefix(c.text, c.max_units), c.prefix) << c.text;
  }
}

TEST(Utf8TextTest, TellsWellFormedTextFromOtherBytes) {
  const struct {
    const char* text;
    bool well_formed;
  } cases[] = {
      {"", true},
      {"/home/zo\xc3\xab", true},            // U+00EB
      {"\xf0\x9f\x8e\xae", true},            // above U+FFFF
      {"/home/Zo\xeb", false},                // the same name in Latin-1
      {"\xc3", false},                        // cut short
      {"\xc0\xaf", false},                    // overlong '/'
      {"\xed\xb3\xab", false},                // an encoded surrogate
      {"\xf4\x90\x80\x80", false},            // above U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(IsWellFormedUtf8(c.text), c.well_formed) << c.text;
}

}  // namespace
}  // namespace qv::platform
