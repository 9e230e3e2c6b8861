#include "util/text_format.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::util {
namespace {

TEST(TextFormatTest, FormatTextFormatsAndCutsAt4095Bytes) {
  EXPECT_EQ(FormatText("qvorinstall_%u.tmp", 4294967295u), "qvorinstall_4294967295.tmp");
  EXPECT_EQ(FormatText("%s=%d%%", "op", -5), "op=-5%");

  const std::string long_argument(5000, 'x');
  const std::string result = FormatText("%s", long_argument.c_str());
  EXPECT_EQ(result.size(), kMaxFormattedLength);
  EXPECT_EQ(result, long_argument.substr(0, 4095));
  EXPECT_EQ(FormatText("ab%s", long_argument.c_str()).size(), 4095u);
}

TEST(TextFormatTest, CutsKeepWholeCharacters) {
  // 4094 bytes, then a two-byte letter that would end one byte past the buffer
  const std::string narrow = std::string(4094, 'x') + "\xC3\xA9tail";
  EXPECT_EQ(FormatText("%s", narrow.c_str()), std::string(4094, 'x'));
  const std::string fits = std::string(4093, 'x') + "\xC3\xA9tail";
  EXPECT_EQ(FormatText("%s", fits.c_str()), fits.substr(0, 4095));

  // 4094 units, then a surrogate pair that would be split by the 4095-unit cut
  const std::u16string wide = std::u16string(4094, u'x') + u"\U0001F600tail";
  EXPECT_EQ(FormatWideText(u"%s", wide.c_str()), std::u16string(4094, u'x'));
  EXPECT_EQ(FormatWideText(u"%s%s", wide.c_str(), u"y"), std::u16string(4094, u'x'));
  EXPECT_EQ(FormatWideText(u"[%.1s]", u"\U0001F600"), u"[]");
  EXPECT_EQ(FormatWideText(u"[%.2s]", u"\U0001F600"), u"[\U0001F600]");
}

TEST(TextFormatTest, FormatWideTextFollowsTheWidePrintfConventions) {
  EXPECT_EQ(FormatWideText(u"%s/%s/", u"C:", u"QVorvane"), u"C:/QVorvane/");
  EXPECT_EQ(FormatWideText(u"%S and %hs", "narrow", "ansi"), u"narrow and ansi");
  EXPECT_EQ(FormatWideText(u"%ls|%c|%C", u"wide", u'\u65e5', 'n'), u"wide|\u65e5|n");
  EXPECT_EQ(FormatWideText(u"%d %i %u %x %X %o", -12, 7, 4000000000u, 255, 255, 8),
            u"-12 7 4000000000 ff FF 10");
  EXPECT_EQ(FormatWideText(u"%lld %llu %zu %ld", -9000000000LL, 18446744073709551615ULL,
                           size_t{42}, -3L),
            u"-9000000000 18446744073709551615 42 -3");
  EXPECT_EQ(FormatWideText(u"%hd %hhu", 70000, 300), u"4464 44");  // narrowed like printf
  EXPECT_EQ(FormatWideText(u"[%5s][%-5s][%.2s][%*d][%-*d][%05.1f]", u"ab", u"ab", u"abc", 4, 7, 3, 1,
                           2.25),
            u"[   ab][ab   ][ab][   7][1  ][002.2]");
  EXPECT_EQ(FormatWideText(u"%.f|%.*s|%#x|%+d|% d", 2.5, 1, u"xy", 16, 3, 3), u"2|x|0x10|+3| 3");
  EXPECT_EQ(FormatWideText(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
  EXPECT_EQ(FormatWideText(u"100%%"), u"100%");
  EXPECT_EQ(FormatWideText(u"%q and %"), u"%q and %");  // unknown or unfinished: copied
  int never_written = 5;
  EXPECT_EQ(FormatWideText(u"a%nb", &never_written), u"ab");
  EXPECT_EQ(never_written, 5);
}

TEST(TextFormatTest, FormatWideTextCutsAt4095Units) {
  const std::u16string long_argument(5000, u'\u00e9');
  EXPECT_EQ(FormatWideText(u"%s", long_argument.c_str()), long_argument.substr(0, 4095));
  EXPECT_EQ(FormatWideText(u"%5000d", 1).size(), 4095u);
  EXPECT_EQ(FormatWideText(u"%-6000s|", u"x").size(), 4095u);
}

}  // namespace
}  // namespace qv::util
