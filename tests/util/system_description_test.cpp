#include "util/system_description.h"

#include <gtest/gtest.h>

namespace qv::util {
namespace {

TEST(SystemDescriptionTest, OsNameJoinsFlagNamesAndSuffix) {
  struct Case {
    int flags;
    std::u16string suffix;
    std::u16string expected;
  };
  const Case cases[] = {
      {64, u"64", u"Win7_64"},
      {0, u"32", u"_32"},
      {256, u"", u"Win10"},
      {1 | 4, u"32", u"2000/XP_32"},
      {2 | 8 | 16 | 32 | 128, u"64", u"2000Server/2003/Vista/2008/Win8_64"},
      {0, u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(OsName(c.flags, c.suffix), c.expected) << c.flags;
}

TEST(SystemDescriptionTest, DescriptionIsNameUnderscoreBitnessWithoutBlanks) {
  EXPECT_EQ(OsFlag(), 0);
  const std::u16string bitness = Bitness();
  EXPECT_TRUE(bitness == u"64" || bitness == u"32");
  if (sizeof(void*) == 8) {
    EXPECT_EQ(bitness, u"64");
  }
  EXPECT_EQ(SystemDescription(), u"Linux_" + bitness);
}

}  // namespace
}  // namespace qv::util
