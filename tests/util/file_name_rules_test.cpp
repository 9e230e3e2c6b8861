#include "util/file_name_rules.h"

#include <gtest/gtest.h>

namespace qv::util {
namespace {

TEST(FileNameRulesTest, NameComponentsAndForbiddenCharacters) {
  struct Case {
    std::u16string name;
    bool plain_component;
    bool forbidden_character;
  };
  const Case cases[] = {
      {u"1001", true, false},
      {u"Tales of Rise", true, false},
      {u"雷 ..x", true, false},
      {u"", false, false},
      {u".", false, false},
      {u"..", false, false},
      {u"a/b", false, true},
      {u"a\\b", false, true},
      {u"a\tb", false, true},
      {u"a\x7F", false, false},
      {u"Tales: Rise", true, true},
      {u"a*b", true, true},
      {u"a?b", true, true},
      {u"\"a\"", true, true},
      {u"<a>", true, true},
      {u"a|b", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPlainNameComponent(c.name), c.plain_component) << c.name.size();
    EXPECT_EQ(HasForbiddenFileNameCharacter(c.name), c.forbidden_character) << c.name.size();
  }
}

}  // namespace
}  // namespace qv::util
