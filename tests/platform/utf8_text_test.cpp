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

TEST(Utf8TextTest, BytePrefixKeepsWholeCharacters) {
  struct Case {
    std::string text;
    size_t max_bytes;
    std::string prefix;
  };
  // clang-format off
  const Case cases[] = {
      {"abc", 5, "abc"},
      {"abc", 2, "ab"},
      {"abc", 0, ""},
      {"aé", 2, "a"},                     // the two-byte letter would be split
      {"aé", 3, "aé"},
      {"ab😀", 4, "ab"},                  // so would the four-byte emoji, at any byte of it
      {"ab😀", 5, "ab"},
      {"ab😀", 6, "ab😀"},
      {"😀😀", 7, "😀"},
      {"\xFF\xFE\xFD", 2, "\xFF\xFE"},     // ill-formed bytes are characters of their own
      {"a\xE2\x85", 2, "a\xE2"},          // a sequence that never completes is no character
      {"\x85\x85\x85\x85", 3, "\x85\x85\x85"},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8Prefix(c.text, c.max_bytes), c.prefix) << c.text << " " << c.max_bytes;
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
