#include "workflow/folders/game_id_path.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "platform/system_info.h"

namespace qv::workflow {
namespace {

TEST(GameIdPathTest, OnlyPlainNamesArePathComponents) {
  const struct {
    std::u16string_view name;
    bool plain;
  } cases[] = {
      {u"1001", true},       {u"tov3_web", true},  {u"a.b", true},   {u"..a", true},
      {u"Spiel \u00e4", true}, {u"", false},        {u".", false},    {u"..", false},
      {u"a/b", false},       {u"/", false},        {u"a\\b", false}, {u"a\nb", false},
      {u"a\x1f", false},     {u"a\x7f", false},    {u"\u009b", false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(IsPlainFileNameComponent(cases[i].name), cases[i].plain) << "case " << i;
  }
}

// Names Windows gives a meaning of their own are no plain component there; elsewhere they are.
TEST(GameIdPathTest, NamesWithAMeaningOnWindowsArePlainOnlyElsewhere) {
  const bool windows = platform::RunningWindowsVersion().has_value();
  for (const std::u16string_view name : {u"...", u"312.", u"312 ", u"CON", u"nul.txt", u"a:b",
                                         u"COM1", u"a?b", u"a|b"}) {
    EXPECT_EQ(IsPlainFileNameComponent(name), !windows)
        << std::string(name.begin(), name.end());
  }
}

}  // namespace
}  // namespace qv::workflow
