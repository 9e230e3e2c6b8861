#include "util/text_conversion.h"

#include <gtest/gtest.h>

namespace qv::util {
namespace {

using namespace std::string_literals;

TEST(TextConversionTest, WellFormedTextRoundTripsThroughEveryPair) {
  const std::u16string samples[] = {
      u"", u"abc", u"C:/Users/Jürgen/QVorvane/", u"Ελληνικά", u"русский", u"日本語のテキスト",
      u"ภาษาไทย", u"العربية", u"emoji \U0001F3AE and \U00010348",
  };
  for (const auto& wide : samples) {
    EXPECT_EQ(AnsiToWide(WideToAnsi(wide)), wide);
    EXPECT_EQ(Utf8ToWide(WideToUtf8(wide)), wide);
    EXPECT_EQ(WideToAnsi(wide), WideToUtf8(wide));  // the ANSI code page is UTF-8 here
  }
  EXPECT_EQ(WideToUtf8(u"abc"), "abc");
  EXPECT_EQ(WideToUtf8(u"\u00e9\u65e5\U0001F3AE"), "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x8E\xAE");
}

TEST(TextConversionTest, InputEndsAtTheFirstNul) {
  EXPECT_EQ(Utf8ToWide("ab\0cd"s), u"ab");
  EXPECT_EQ(AnsiToWide("\0cd"s), u"");
  EXPECT_EQ(WideToUtf8(u"ab\0cd"s), "ab");
  EXPECT_EQ(WideToAnsi(u"x\0"s), "x");
}

TEST(TextConversionTest, IllFormedUtf8BecomesOneReplacementPerMaximalSubpart) {
  struct Case {
    std::string input;
    std::u16string expected;
  };
  const Case cases[] = {
      {"\x80", u"\uFFFD"},                          // lone continuation byte
      {"a\xFFz", u"a\uFFFDz"},                      // byte that never occurs
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                // overlong lead: each byte on its own
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},      // overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},      // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE6\x97", u"\uFFFD"},                      // truncated at the end
      {"\xE6\x97z", u"\uFFFDz"},                    // truncated before an ASCII letter
      {"\xF0\x9F\x8E", u"\uFFFD"},                  // truncated four-byte form
      {"\xC3\xA9\xE6", u"\u00e9\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.input), c.expected) << "input bytes: " << c.input.size();
    EXPECT_EQ(AnsiToWide(c.input), c.expected);
  }
}

TEST(TextConversionTest, LoneSurrogatesEncodeAsReplacementCharacter) {
  EXPECT_EQ(WideToUtf8(u"a\xD800z"s), "a\xEF\xBF\xBDz");
  EXPECT_EQ(WideToUtf8(u"\xDC00"s), "\xEF\xBF\xBD");
  EXPECT_EQ(WideToAnsi(u"x\xD83D"s), "x\xEF\xBF\xBD");  // high surrogate at the end
  EXPECT_EQ(WideToUtf8(u"\xDC00\xD800"s), "\xEF\xBF\xBD\xEF\xBF\xBD");  // reversed pair
}

}  // namespace
}  // namespace qv::util
