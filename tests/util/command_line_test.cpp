#include "util/command_line.h"

#include <gtest/gtest.h>

#include "util/text_conversion.h"

namespace qv::util {
namespace {

TEST(SplitCommandLineTest, BlanksSeparateQuotesGroupBackslashesEscapeOnlyQuotes) {
  struct Case {
    std::u16string line;
    std::vector<std::u16string> arguments;
  };
  const Case cases[] = {
      {u"", {}},
      {u" \t ", {}},
      {u"a b  c", {u"a", u"b", u"c"}},
      {u"a\tb", {u"a", u"b"}},
      {u" /game=312 /auto_start=1 ", {u"/game=312", u"/auto_start=1"}},
      {u"\"two words\" x", {u"two words", u"x"}},
      {u"\"a b\"c", {u"a bc"}},
      {u"\"\"", {u""}},
      {u"x \"\" y", {u"x", u"", u"y"}},
      {u"a\"\"b", {u"ab"}},
      {u"\"a\"\"b\"", {u"a\"b"}},                // "" inside quotes is one quote
      {u"\\\"quoted\\\"", {u"\"quoted\""}},      // \" is a literal quote
      {u"a\\\\\"b c\"", {u"a\\b c"}},            // \\" is one backslash, then the quote groups
      {u"a\\\\\\\"b", {u"a\\\"b"}},              // \\\" is a backslash and a literal quote
      {u"C:\\dir\\ \"x\"", {u"C:\\dir\\", u"x"}},  // backslashes before a blank stay
      {u"C:\\dir\\\\", {u"C:\\dir\\\\"}},
      {u"\"ends with\\\\\"", {u"ends with\\"}},
      {u"\"unterminated text", {u"unterminated text"}},
      {u"\u6e38\u620f \"\u00e9 t\u00e9\"", {u"\u6e38\u620f", u"\u00e9 t\u00e9"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << WideToUtf8(c.line);
  }
}

}  // namespace
}  // namespace qv::util
