// Removal inside a folder on Windows: only plain names reach the system, and a link or junction
// on the way stops the removal instead of reaching what it points to.
#include "platform/tree_removal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"
#include "windows_command.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

using test::ReadWindowsFile;
using test::WriteWindowsFile;

class TreeRemovalTest : public test::WindowsTempFolderTest {
 protected:
  void MakeFolder(const std::string& relative) {
    ASSERT_TRUE(CreateDirectoryW(win32::Wide(root_.Path(relative)).c_str(), nullptr)) << relative;
  }
};

TEST_F(TreeRemovalTest, RemovesFilesAndEmptyFoldersBelowTheRootOnly) {
  MakeFolder("app");
  MakeFolder("app\\plugins");
  ASSERT_TRUE(WriteWindowsFile(root_.Path("app\\plugins\\old.dll"), "old"));
  ASSERT_TRUE(WriteWindowsFile(root_.Path("app\\readonly.txt"), "x"));
  SetFileAttributesW(win32::Wide(root_.Path("app\\readonly.txt")).c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string root = root_.Path("app");

  EXPECT_FALSE(DeleteFileInside(root, "plugins"));  // never a folder
  EXPECT_FALSE(RemoveFolderInside(root, "plugins"));  // not empty
  EXPECT_TRUE(DeleteFileInside(root, "plugins/old.dll"));
  EXPECT_TRUE(DeleteFileInside(root, "readonly.txt"));
  EXPECT_TRUE(RemoveFolderInside(root, "plugins"));
  EXPECT_FALSE(RemoveFolderInside(root, "missing"));
  EXPECT_NE(GetFileAttributesW(win32::Wide(root).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TreeRemovalTest, NamesThatCouldReachElsewhereAreRefused) {
  MakeFolder("app");
  ASSERT_TRUE(WriteWindowsFile(root_.Path("outside.txt"), "kept"));
  ASSERT_TRUE(WriteWindowsFile(root_.Path("app\\inside.txt"), "kept"));
  const std::string root = root_.Path("app");
  const std::string outside = root_.Path("outside.txt");
  for (const std::string& relative : std::vector<std::string>{
       "..\\outside.txt", "../outside.txt", ".\\inside.txt", "", "\\inside.txt",
        outside,                                      // an absolute path
        outside.substr(0, 2) + "inside.txt",          // "C:inside.txt", relative to a drive
        "inside.txt:stream", "inside.txt.", "inside.txt ", "NUL", "nul.txt", "COM1",
        "\\\\?\\" + outside}) {
    EXPECT_FALSE(DeleteFileInside(root, relative)) << relative;
  }
  EXPECT_EQ(ReadWindowsFile(outside), "kept");
  EXPECT_EQ(ReadWindowsFile(root_.Path("app\\inside.txt")), "kept");
}

TEST_F(TreeRemovalTest, AJunctionOnTheWayStopsTheRemoval) {
  MakeFolder("app");
  MakeFolder("elsewhere");
  ASSERT_TRUE(WriteWindowsFile(root_.Path("elsewhere\\precious.txt"), "kept"));
  const auto made = test::RunWindowsCommand("cmd.exe /c mklink /J \"" + root_.Path("app\\link") +
                                            "\" \"" + root_.Path("elsewhere") + "\"");
  const DWORD attributes = GetFileAttributesW(win32::Wide(root_.Path("app\\link")).c_str());
  if (made.exit_code != 0 || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    GTEST_SKIP() << "this prefix makes no junctions: " << made.output;
  }
  EXPECT_FALSE(DeleteFileInside(root_.Path("app"), "link/precious.txt"));
  EXPECT_FALSE(RemoveFolderInside(root_.Path("app"), "link"));
  EXPECT_EQ(ReadWindowsFile(root_.Path("elsewhere\\precious.txt")), "kept");
  // The junction itself may go, as a link does.
  EXPECT_TRUE(DeleteFileInside(root_.Path("app"), "link"));
  EXPECT_EQ(ReadWindowsFile(root_.Path("elsewhere\\precious.txt")), "kept");
}

}  // namespace
}  // namespace qv::platform
