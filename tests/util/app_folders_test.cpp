#include "util/app_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "temp_root.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;

class AppFoldersTest : public test::TempRootTest {
 protected:
  std::u16string W(const std::string& path) { return Utf8ToWide(path); }
};

TEST_F(AppFoldersTest, FoldersLieBelowTheKnownFoldersAndExistAfterTheirFirstRequest) {
  AppFolders folders;
  const std::string base = root_.data_home() + "/";
  EXPECT_EQ(folders.BaseDataFolder(), W(base));
  EXPECT_EQ(folders.LocalDataFolder(), W(base + "Qvorvane/"));
  EXPECT_EQ(folders.PlatformFolder(), W(base + "Qvorvane/app/"));
  EXPECT_EQ(folders.GameBagFolder(), W(base + "Qvorvane/gamebag/"));
  EXPECT_EQ(folders.RoamingDataFolder(), W(root_.config_home() + "/Qvorvane/"));
  for (const char* folder : {"Qvorvane/app", "Qvorvane/gamebag"}) {
    EXPECT_TRUE(fs::is_directory(base + folder)) << folder;
  }
  EXPECT_TRUE(fs::is_directory(root_.config_home() + "/Qvorvane"));
}

TEST_F(AppFoldersTest, PathsAreComputedOnceAndKeepTheirCase) {
  const std::string data = root_.Path("Mixed Case/D\xc3\xa4ten");
  fs::create_directories(data);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  AppFolders folders;
  EXPECT_EQ(folders.PlatformFolder(), W(data + "/Qvorvane/app/"));
  setenv("XDG_DATA_HOME", root_.data_home().c_str(), 1);
  EXPECT_EQ(folders.PlatformFolder(), W(data + "/Qvorvane/app/"));
  EXPECT_EQ(AppFolders().PlatformFolder(), W(root_.data_home() + "/Qvorvane/app/"));
}

TEST_F(AppFoldersTest, AFileWhereTheFolderGoesIsLeftAlone) {
  const std::string file = root_.WriteFile("home/.local/share/Qvorvane", "a file");
  AppFolders folders;
  EXPECT_EQ(folders.LocalDataFolder(), W(file + "/"));
  EXPECT_EQ(test::ReadFileBytes(file), "a file");
}

TEST_F(AppFoldersTest, TwoThreadsAskingAtOnceGetTheSameFolders) {
  AppFolders folders;
  std::u16string platform[2];
  std::u16string roaming[2];
  std::thread other([&] {
    platform[1] = folders.PlatformFolder();
    roaming[1] = folders.RoamingDataFolder();
  });
  roaming[0] = folders.RoamingDataFolder();
  platform[0] = folders.PlatformFolder();
  other.join();
  EXPECT_EQ(platform[0], platform[1]);
  EXPECT_EQ(roaming[0], roaming[1]);
  EXPECT_TRUE(fs::is_directory(root_.data_home() + "/Qvorvane/app"));
}

TEST_F(AppFoldersTest, CreateDirectoryTreeBuildsOnTheDeepestExistingFolder) {
  EXPECT_TRUE(CreateDirectoryTree(W(root_.Path("a/b\\c/"))));
  EXPECT_TRUE(fs::is_directory(root_.Path("a/b/c")));
  EXPECT_TRUE(CreateDirectoryTree(W(root_.Path("A/B"))));  // exists in another spelling
  EXPECT_FALSE(fs::exists(root_.Path("A")));
  const std::string file = root_.WriteFile("plain", "keep");
  EXPECT_TRUE(CreateDirectoryTree(W(file)));
  EXPECT_FALSE(CreateDirectoryTree(W(file + "/below")));
  EXPECT_EQ(test::ReadFileBytes(file), "keep");
  EXPECT_FALSE(CreateDirectoryTree(u""));

  std::u16string deep = W(root_.Path("deep"));
  for (int level = 0; level < 100; ++level) deep += u"/d";
  EXPECT_TRUE(CreateDirectoryTree(deep));
  EXPECT_TRUE(fs::is_directory(WideToUtf8(deep)));
}

TEST_F(AppFoldersTest, CreateDirectoryTreeNeverMakesARelativeFolderWithoutAParent) {
  const fs::path before = fs::current_path();
  fs::current_path(root_.path());
  EXPECT_FALSE(CreateDirectoryTree(u"lonely"));
  EXPECT_FALSE(CreateDirectoryTree(u"missing/child"));
  EXPECT_TRUE(CreateDirectoryTree(u"tmp/child"));  // builds on the existing "tmp"
  fs::current_path(before);
  EXPECT_FALSE(fs::exists(root_.Path("lonely")));
  EXPECT_FALSE(fs::exists(root_.Path("missing")));
  EXPECT_TRUE(fs::is_directory(root_.Path("tmp/child")));
}

}  // namespace
}  // namespace qv::util
