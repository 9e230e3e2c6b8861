#include "util/file_name_rules.h"

#include <gtest/gtest.h>

namespace qv::util {
namespace {

TEST(FileNameRulesTest, CharactersForbiddenInFileNames) {
  struct Case {
    std::u16string name;
    bool forbidden;
  };
  const Case cases[] = {
      {u"Tales of Rise", false},
      {u"雷 ..x", false},
      {u"", false},
      {u"a\x7F", false},
      {u"a/b", true},
      {u"a\\b", true},
      {u"a\tb", true},
      {u"Tales: Rise", true},
      {u"a*b", true},
      {u"a?b", true},
      {u"\"a\"", true},
      {u"<a>", true},
      {u"a|b", true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(HasForbiddenFileNameCharacter(cases[i].name), cases[i].forbidden) << "case " << i;
  }
}

}  // namespace
}  // namespace qv::util
