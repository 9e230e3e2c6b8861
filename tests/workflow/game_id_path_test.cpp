#include "workflow/game_id_path.h"

#include <gtest/gtest.h>

namespace qv::workflow {
namespace {

TEST(GameIdPathTest, OnlyPlainNamesArePathComponents) {
  const struct {
    std::u16string_view name;
    bool plain;
  } cases[] = {
      {u"1001", true},       {u"tov3_web", true},  {u"a.b", true},   {u"...", true},
      {u"Spiel \u00e4", true}, {u"", false},        {u".", false},    {u"..", false},
      {u"a/b", false},       {u"/", false},        {u"a\\b", false}, {u"a\nb", false},
      {u"a\x1f", false},     {u"a\x7f", false},    {u"\u009b", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPlainFileNameComponent(c.name), c.plain) << testing::PrintToString(std::u16string(c.name).size());
  }
}

}  // namespace
}  // namespace qv::workflow
