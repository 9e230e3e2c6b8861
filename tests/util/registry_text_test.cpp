#include "util/registry_text.h"

#include <gtest/gtest.h>

#include "temp_root.h"

namespace qv::util {
namespace {

class RegistryTextTest : public test::TempRootTest {
 protected:
  platform::RegistryKey Open() {
    platform::RegistryKey key;
    EXPECT_EQ(platform::CurrentRegistry().CreateKey(platform::RegistryRoot::kCurrentUser,
                                                    "Software\\Wow6432Node\\BlueStacks_tolvik",
                                                    platform::key_access::kAll, key),
              platform::RegistryStatus::kOk);
    return key;
  }
};

TEST_F(RegistryTextTest, ReadsStringsOfUpTo511CharactersAndClosesTheKey) {
  Open().SetStringValue("511", std::string(511, 'a'));
  Open().SetStringValue("512", std::string(512, 'a'));
  Open().SetStringValue("InstallDir", "/q/游戏/BlueStacks_tolvik\\ProgramFiles\\");
  struct Case {
    std::u16string name;
    bool read;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"installdir", true, u"/q/\u6E38\u620F/BlueStacks_tolvik\\ProgramFiles\\"},
      {u"511", true, std::u16string(511, u'a')},
      {u"512", false, u"unchanged"},
      {u"missing", false, u"unchanged"},
      {u"", false, u"unchanged"},
  };
  for (const Case& c : cases) {
    platform::RegistryKey key = Open();
    std::u16string out = u"unchanged";
    EXPECT_EQ(ReadRegistryText(key, c.name, out), c.read);
    EXPECT_EQ(out, c.expected);
    EXPECT_EQ(key.IsOpen(), c.name.empty()) << "closed after every read it attempted";
  }
  platform::RegistryKey closed;
  std::u16string out;
  EXPECT_FALSE(ReadRegistryText(closed, u"InstallDir", out));
}

}  // namespace
}  // namespace qv::util
