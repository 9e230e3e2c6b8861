// The known folders on Windows: the shell's folders of the test prefix's user, spelled as the
// system spells paths.
#include "platform/known_folders.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

TEST(KnownFoldersTest, AreTheShellsFoldersWithBackslashesAndNoTrailingSeparator) {
  const std::string home = HomeFolder();
  struct Case {
    std::string folder;
    std::string ends_with;
  };
  const Case cases[] = {
      {LocalAppDataFolder(), "\\AppData\\Local"},
      {RoamingAppDataFolder(), "\\AppData\\Roaming"},
      {DesktopFolder(), "\\Desktop"},
      {StartMenuFolder(), "\\Start Menu"},
      {CommonAppDataFolder(), "ProgramData"},
  };
  ASSERT_TRUE(IsFolder(home)) << home;
  for (const Case& c : cases) {
    EXPECT_TRUE(c.folder.ends_with(c.ends_with)) << c.folder;
    EXPECT_EQ(c.folder.find('/'), std::string::npos) << c.folder;
    EXPECT_NE(c.folder.back(), '\\') << c.folder;
  }
  EXPECT_TRUE(LocalAppDataFolder().starts_with(home + "\\")) << LocalAppDataFolder();
  const std::string temp = TempFolder();
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(IsFolder(temp)) << temp;
  EXPECT_EQ(MachineRoot().size(), 2u);
  EXPECT_EQ(MachineRoot()[1], ':');
  EXPECT_EQ(FolderThatIsNotUtf8(), "");
}

}  // namespace
}  // namespace qv::platform
