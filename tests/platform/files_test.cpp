#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <filesystem>

#include "temp_root.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

class FilesTest : public test::TempRootTest {
 protected:
  // Names in a folder, to see that nothing else was made.
  std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FilesTest, AttributesTellFoldersFromFilesAndFollowLinks) {
  root_.WriteFile("Folder/file.txt", "x");
  fs::create_directory_symlink(root_.Path("Folder"), root_.Path("link"));
  EXPECT_TRUE(GetFileAttributes(root_.Path("folder"))->is_directory);
  EXPECT_FALSE(GetFileAttributes(root_.Path("FOLDER/FILE.TXT"))->is_directory);
  EXPECT_TRUE(GetFileAttributes(root_.Path("link"))->is_directory);
  EXPECT_FALSE(GetFileAttributes(root_.Path("missing")).has_value());
}

TEST_F(FilesTest, HiddenIsKeptWhereTheFileSystemCanKeepIt) {
  const std::string file = root_.WriteFile("data.bin", "x");
  EXPECT_FALSE(GetFileAttributes(file)->is_hidden);
  EXPECT_TRUE(SetHidden(root_.Path("DATA.bin")));
  EXPECT_FALSE(SetHidden(root_.Path("missing")));
  const bool supported = getxattr(file.c_str(), kHiddenAttributeName, nullptr, 0) > 0;
  EXPECT_EQ(GetFileAttributes(file)->is_hidden, supported);
}

TEST_F(FilesTest, CreateFolderUsesAnExistingSpellingAndNeedsItsParent) {
  fs::create_directories(root_.Path("top/Games"));
  EXPECT_FALSE(CreateFolder(root_.Path("top/GAMES")));  // exists as "Games": nothing new
  EXPECT_TRUE(CreateFolder(root_.Path("TOP/Neu \xc3\xa9")));
  EXPECT_FALSE(CreateFolder(root_.Path("top/missing/child")));
  EXPECT_EQ(Names(root_.Path("top")), (std::vector<std::string>{"Games", "Neu \xc3\xa9"}));
}

TEST_F(FilesTest, RemovalTakesOnlyWhatItIsMeantFor) {
  root_.WriteFile("full/file.txt", "x");
  fs::create_directories(root_.Path("Empty"));
  const std::string target = root_.WriteFile("target.txt", "keep");
  fs::create_symlink(target, root_.Path("file-link"));
  fs::create_directory_symlink(root_.Path("Empty"), root_.Path("folder-link"));

  EXPECT_FALSE(RemoveFolder(root_.Path("full")));
  EXPECT_FALSE(RemoveFolder(root_.Path("folder-link")));
  EXPECT_TRUE(RemoveFolder(root_.Path("EMPTY")));
  EXPECT_FALSE(DeleteFile(root_.Path("full")));
  EXPECT_TRUE(DeleteFile(root_.Path("FULL/File.TXT")));
  EXPECT_TRUE(DeleteFile(root_.Path("file-link")));
  EXPECT_FALSE(DeleteFile(root_.Path("file-link")));
  EXPECT_EQ(test::ReadFileBytes(target), "keep");
}

TEST_F(FilesTest, CopyReplacesTheTargetWholeAndNeverEmptiesTheSource) {
  std::string bytes;
  for (int i = 0; i < 10000; ++i) bytes.push_back(static_cast<char>(i * 7));  // several chunks
  const std::string source = root_.WriteFile("in/Source.bin", bytes);
  const std::string target = root_.WriteFile("out/target.bin", std::string(20000, 'z'));

  EXPECT_TRUE(CopyFile(root_.Path("in/source.BIN"), root_.Path("out/TARGET.bin")));
  EXPECT_EQ(test::ReadFileBytes(target), bytes);
  EXPECT_TRUE(CopyFile(source, root_.Path("IN/SOURCE.BIN")));  // onto itself
  EXPECT_EQ(test::ReadFileBytes(source), bytes);
  EXPECT_TRUE(CopyFile(source, root_.Path("out/new.bin")));
  EXPECT_EQ(test::ReadFileBytes(root_.Path("out/new.bin")), bytes);

  EXPECT_FALSE(CopyFile(root_.Path("in/missing.bin"), target));
  EXPECT_FALSE(CopyFile(source, root_.Path("nowhere/x.bin")));
  EXPECT_FALSE(CopyFile(root_.Path("in"), root_.Path("out/folder.bin")));
  EXPECT_EQ(test::ReadFileBytes(target), bytes);
  const std::string longest_name(255, 'n');  // the file-name limit: no room for a suffix
  EXPECT_TRUE(CopyFile(source, root_.Path("out/") + longest_name));
  EXPECT_EQ(test::ReadFileBytes(root_.Path("out/") + longest_name), bytes);
  EXPECT_EQ(Names(root_.Path("out")), (std::vector<std::string>{"new.bin", longest_name, "target.bin"}));
}

TEST_F(FilesTest, ModificationTimeIsSetToTheSecondAndBelow) {
  const std::string file = root_.WriteFile("Stamped.txt", "x");
  const auto time = std::chrono::system_clock::from_time_t(981173106) + std::chrono::milliseconds(250);
  ASSERT_TRUE(SetModificationTime(root_.Path("stamped.TXT"), time));
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, 981173106);
  EXPECT_EQ(info.st_mtim.tv_nsec, 250000000);
  EXPECT_FALSE(SetModificationTime(root_.Path("missing"), time));
}

}  // namespace
}  // namespace qv::platform
