#include "platform/tree_removal.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_root.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

class TreeRemovalTest : public test::TempRootTest {};

TEST_F(TreeRemovalTest, RemovesFilesAndEmptyFoldersInsideTheTree) {
  root_.WriteFile("Tree/a/b/file.txt", "x");
  fs::create_directories(root_.Path("Tree/a/empty"));
  EXPECT_TRUE(DeleteFileInside(root_.Path("tree"), "a/b/file.txt"));
  EXPECT_FALSE(fs::exists(root_.Path("Tree/a/b/file.txt")));
  EXPECT_FALSE(DeleteFileInside(root_.Path("Tree"), "a/b"));  // a folder is no file
  EXPECT_TRUE(RemoveFolderInside(root_.Path("Tree"), "a/empty"));
  root_.WriteFile("Tree/a/b/again.txt", "x");
  EXPECT_FALSE(RemoveFolderInside(root_.Path("Tree"), "a/b"));  // not empty
  EXPECT_TRUE(fs::exists(root_.Path("Tree/a/b/again.txt")));
}

TEST_F(TreeRemovalTest, ALinkInTheTreeNeverLeadsOutOfIt) {
  const std::string outside = root_.WriteFile("outside/keep.txt", "keep");
  fs::create_directories(root_.Path("outside/empty"));
  fs::create_directories(root_.Path("tree"));
  fs::create_directory_symlink(root_.Path("outside"), root_.Path("tree/link"));

  EXPECT_FALSE(DeleteFileInside(root_.Path("tree"), "link/keep.txt"));
  EXPECT_FALSE(RemoveFolderInside(root_.Path("tree"), "link/empty"));
  EXPECT_FALSE(RemoveFolderInside(root_.Path("tree"), "link"));
  EXPECT_EQ(test::ReadFileBytes(outside), "keep");
  EXPECT_TRUE(fs::exists(root_.Path("outside/empty")));
  EXPECT_TRUE(DeleteFileInside(root_.Path("tree"), "link"));  // the link itself goes
  EXPECT_TRUE(fs::exists(outside));
}

TEST_F(TreeRemovalTest, NamesThatClimbOrAreEmptyAreRefused) {
  const std::string victim = root_.WriteFile("victim.txt", "keep");
  fs::create_directories(root_.Path("tree/sub"));
  for (const char* relative : {"../victim.txt", "sub/../../victim.txt", "", "/victim.txt",
                               "sub//x", ".", "sub/."}) {
    EXPECT_FALSE(DeleteFileInside(root_.Path("tree"), relative)) << relative;
    EXPECT_FALSE(RemoveFolderInside(root_.Path("tree"), relative)) << relative;
  }
  EXPECT_EQ(test::ReadFileBytes(victim), "keep");
  EXPECT_TRUE(fs::exists(root_.Path("tree/sub")));
}

}  // namespace
}  // namespace qv::platform
