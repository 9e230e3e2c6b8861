#include "workflow/game_id_path.h"

#include <gtest/gtest.h>

#include <iterator>

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
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(IsPlainFileNameComponent(cases[i].name), cases[i].plain) << "case " << i;
  }
}

}  // namespace
}  // namespace qv::workflow
