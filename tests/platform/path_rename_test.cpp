#include "platform/path_rename.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_root.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

using PathRenameTest = test::TempRootTest;

TEST_F(PathRenameTest, MovesAFolderButNeverReplacesAnEntry) {
  root_.WriteFile("new/file.txt", "new");
  root_.WriteFile("live/file.txt", "old");
  fs::create_directory(root_.Path("empty"));

  EXPECT_FALSE(RenamePath(root_.Path("new"), root_.Path("live")));
  EXPECT_FALSE(RenamePath(root_.Path("new"), root_.Path("empty")));
  EXPECT_FALSE(RenamePath(root_.Path("missing"), root_.Path("other")));
  EXPECT_EQ(test::ReadFileBytes(root_.Path("live/file.txt")), "old");
  EXPECT_EQ(test::ReadFileBytes(root_.Path("new/file.txt")), "new");

  EXPECT_TRUE(RenamePath(root_.Path("new"), root_.Path("moved")));
  EXPECT_EQ(test::ReadFileBytes(root_.Path("moved/file.txt")), "new");
  EXPECT_FALSE(fs::exists(root_.Path("new")));
}

}  // namespace
}  // namespace qv::platform
