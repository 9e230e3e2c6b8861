#include "util/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "temp_root.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;

class FileSystemTest : public test::TempRootTest {
 protected:
  std::u16string W(std::string_view relative) { return Utf8ToWide(root_.Path(relative)); }
};

TEST_F(FileSystemTest, FolderAndFileTestsIgnoreTrailingSeparatorsAndCase) {
  root_.WriteFile("Games/setup.exe", "x");
  struct Case {
    std::u16string path;
    bool is_directory;
    bool is_file;
  };
  const Case cases[] = {
      {W("Games"), true, false},
      {W("Games/"), true, false},
      {W("games\\\\"), true, false},
      {W("GAMES/SETUP.EXE"), false, true},
      {W("Games/setup.exe/"), false, true},
      {W("Games/missing"), false, false},
      {u"/", true, false},
      {u"", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDirectory(c.path), c.is_directory) << WideToUtf8(c.path);
    EXPECT_EQ(IsFile(c.path), c.is_file) << WideToUtf8(c.path);
  }
}

TEST_F(FileSystemTest, CreateFolderPathMakesTheMissingLevelsOnly) {
  fs::create_directories(root_.Path("one/Two"));
  CreateFolderPath(W("one\\two/three/four"));
  EXPECT_TRUE(fs::is_directory(root_.Path("one/Two/three/four")));
  // The existing spelling was used: "one" holds the one folder it had.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_.Path("one"))) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"Two"});
  const std::string blocker = root_.WriteFile("file", "keep");
  CreateFolderPath(W("file/below/"));
  EXPECT_EQ(test::ReadFileBytes(blocker), "keep");
}

TEST_F(FileSystemTest, CopyFileContentsReplacesTheTarget) {
  root_.WriteFile("Package.zip", "new bytes");
  root_.WriteFile("kept/package.zip", "old and longer bytes");
  EXPECT_TRUE(CopyFileContents(W("package.ZIP"), W("kept\\PACKAGE.zip")));
  EXPECT_EQ(test::ReadFileBytes(root_.Path("kept/package.zip")), "new bytes");
  EXPECT_FALSE(CopyFileContents(W("missing.zip"), W("kept/package.zip")));
}

}  // namespace
}  // namespace qv::util
