#include "util/text_edit.h"

#include <gtest/gtest.h>

namespace qv::util {
namespace {

TEST(TextEditTest, ReplaceAllResumesAfterEachReplacement) {
  struct Case {
    std::u16string pattern, text, replacement, expected;
  };
  const Case cases[] = {
      {u"aa", u"aaa", u"a", u"aa"},  // one call does not reach a fixed point
      {u"//", u"a////b", u"/", u"a//b"},
      {u"a", u"aa", u"aa", u"aaaa"},  // a replacement containing the pattern is not searched again
      {u"\\", u"C:\\x\\y", u"/", u"C:/x/y"},
      {u"xyz", u"abc", u"-", u"abc"},
      {u"abc", u"abc", u"", u""},
      {u"", u"abc", u"-", u"abc"},  // an empty pattern changes nothing
  };
  for (const auto& c : cases) {
    std::u16string text = c.text;
    ReplaceAll(c.pattern, text, c.replacement);
    EXPECT_EQ(text, c.expected);
  }
}

TEST(TextEditTest, TrimRemovesWhiteSpaceAtOneEndOnly) {
  struct Case {
    std::u16string text, left_trimmed, right_trimmed;
  };
  const Case cases[] = {
      {u"  \tx ", u"x ", u"  \tx"},
      {u"", u"", u""},
      {u" \t\r\n ", u"", u""},
      {u"\u3000D:/Games\u00a0", u"D:/Games\u00a0", u"\u3000D:/Games"},
      {u"a b", u"a b", u"a b"},
      {u"\u2003\u200bx", u"\u200bx", u"\u2003\u200bx"},  // zero-width space is not white space
  };
  for (const auto& c : cases) {
    std::u16string left = c.text, right = c.text;
    TrimLeft(left);
    TrimRight(right);
    EXPECT_EQ(left, c.left_trimmed);
    EXPECT_EQ(right, c.right_trimmed);
  }
}

}  // namespace
}  // namespace qv::util
