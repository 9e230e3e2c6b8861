#include "util/folder_cleanup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_root.h"
#include "util/text_conversion.h"
#include "system_files.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;

class FolderCleanupTest : public test::TempRootTest {};

TEST_F(FolderCleanupTest, RemoveSubfoldersLeavesNonEmptyFoldersAndTheRoot) {
  fs::create_directories(root_.Path("app/empty/deeper/deepest"));
  root_.WriteFile("app/full/sub/kept.txt", "x");
  fs::create_directories(root_.Path("app/full/empty-sibling"));
  RemoveSubfolders(Utf8ToWide(root_.Path("app/")));
  EXPECT_TRUE(fs::is_directory(root_.Path("app")));
  EXPECT_FALSE(fs::exists(root_.Path("app/empty")));
  EXPECT_FALSE(fs::exists(root_.Path("app/full/empty-sibling")));
  EXPECT_TRUE(fs::exists(root_.Path("app/full/sub/kept.txt")));
  RemoveSubfolders(Utf8ToWide(root_.Path("app")));  // only non-empty ones left: nothing changes
  EXPECT_TRUE(fs::exists(root_.Path("app/full/sub/kept.txt")));
}

TEST_F(FolderCleanupTest, DeleteFilesRecursiveEmptiesTheTreeButKeepsItsFolders) {
  for (const char* file : {"app/QVorvane.exe", "app/NOEXT", "app/.hidden", "app/a/b/c.dll"}) {
    root_.WriteFile(file, "x");
  }
  DeleteFilesRecursive(Utf8ToWide(root_.Path("APP")));
  EXPECT_TRUE(fs::is_directory(root_.Path("app/a/b")));
  EXPECT_TRUE(fs::is_empty(root_.Path("app/a/b")));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_.Path("app")), fs::directory_iterator()), 1);
}

TEST_F(FolderCleanupTest, LinksInTheTreeAreRemovedButWhatTheyPointToIsKept) {
  const std::string outside_file = root_.WriteFile("home/precious/data.txt", "keep");
  fs::create_directories(root_.Path("home/precious/empty"));
  root_.WriteFile("app/own.txt", "x");
  if (!test::TryCreateSymbolicLink(root_.Path("home/precious"), root_.Path("app/folder-link")) ||
      !test::TryCreateSymbolicLink(outside_file, root_.Path("app/file-link"))) {
    GTEST_SKIP() << test::kNoSymbolicLinksHere;
  }

  RemoveSubfolders(Utf8ToWide(root_.Path("app")));
  DeleteFilesRecursive(Utf8ToWide(root_.Path("app")));
  EXPECT_EQ(test::ReadFileBytes(outside_file), "keep");
  EXPECT_TRUE(fs::is_directory(root_.Path("home/precious/empty")));
  EXPECT_TRUE(fs::is_empty(root_.Path("app")));
}

}  // namespace
}  // namespace qv::util
