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

TEST(SystemDescriptionTest, OsFlagFollowsTheVersionTable) {
  struct Case {
    platform::WindowsVersion version;
    int flag;
  };
  const Case cases[] = {
      {{2, 5, 0, 1, true}, 1},     {{2, 5, 0, 3, true}, 2},  {{2, 5, 0, 3, false}, 1},
      {{2, 5, 1, 1, true}, 4},     {{2, 5, 2, 3, true}, 8},  {{2, 5, 3, 1, true}, 0},
      {{2, 6, 0, 1, true}, 16},    {{2, 6, 0, 3, true}, 32}, {{2, 6, 1, 1, true}, 64},
      {{2, 6, 2, 1, true}, 256},   {{2, 6, 3, 1, true}, 256}, {{2, 10, 0, 1, true}, 0},
      {{1, 6, 1, 1, true}, 0},  // not the NT family
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OsFlagOf(c.version), c.flag)
        << c.version.major << "." << c.version.minor << " type " << int{c.version.product_type};
  }
}

TEST(SystemDescriptionTest, DescriptionIsTheFlagNamesOnWindowsAndTheSystemNameElsewhere) {
  const std::u16string bitness = Bitness();
  EXPECT_TRUE(bitness == u"64" || bitness == u"32");
  if (sizeof(void*) == 8) {
    EXPECT_EQ(bitness, u"64");
  }
  if (const auto version = platform::RunningWindowsVersion()) {
    EXPECT_EQ(OsFlag(), OsFlagOf(*version));
    EXPECT_NE(OsFlag(), 0);
    EXPECT_EQ(SystemDescription(), OsName(OsFlag(), bitness));
  } else {
    EXPECT_EQ(OsFlag(), 0);
    EXPECT_EQ(SystemDescription(), u"Linux_" + bitness);
  }
}

}  // namespace
}  // namespace qv::util
