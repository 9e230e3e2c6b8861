#include "workflow/folders/delete_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "temp_root.h"
#include "util/text_conversion.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

class DeletePathTest : public test::TempRootTest {
 protected:
  static std::u16string W(const std::string& path) { return util::Utf8ToWide(path); }
};

TEST_F(DeletePathTest, RemovesFilesAndWholeTreesInEitherSpelling) {
  root_.WriteFile("file.tmp", "x");
  root_.WriteFile("tree/a/b/deep.txt", "x");
  root_.WriteFile("tree/.hidden", "x");
  fs::create_directories(root_.Path("tree/empty/inner"));
  root_.WriteFile("other/keep.txt", "x");

  DeletePath(W(root_.Path("file.tmp")));
  DeletePath(W(root_.Path("tree") + "\\"));

  EXPECT_FALSE(fs::exists(root_.Path("file.tmp")));
  EXPECT_FALSE(fs::exists(root_.Path("tree")));
  EXPECT_TRUE(fs::exists(root_.Path("other/keep.txt")));
}

TEST_F(DeletePathTest, NeverFollowsALinkOutOfTheTree) {
  root_.WriteFile("outside/precious.txt", "keep");
  root_.WriteFile("tree/inside.txt", "x");
  if (!test::TryCreateSymbolicLink(root_.Path("outside"), root_.Path("tree/folder_link")) ||
      !test::TryCreateSymbolicLink(root_.Path("outside/precious.txt"), root_.Path("tree/file_link")) ||
      !test::TryCreateSymbolicLink(root_.Path("outside"), root_.Path("top_link"))) {
    GTEST_SKIP() << test::kNoSymbolicLinksHere;
  }

  DeletePath(W(root_.Path("tree/")));
  DeletePath(W(root_.Path("top_link/")));

  EXPECT_FALSE(fs::exists(fs::symlink_status(root_.Path("tree"))));
  EXPECT_FALSE(fs::exists(fs::symlink_status(root_.Path("top_link"))));
  EXPECT_EQ(test::ReadFileBytes(root_.Path("outside/precious.txt")), "keep");
}

// Paths past the 260-character limit of the packages' own platform are ordinary here (a long home
// folder); only what no path of the system could be is left alone.
TEST_F(DeletePathTest, LongPathsAreRemovedOverlongAndMissingOnesLeftAlone) {
  if (test::OnWindows()) GTEST_SKIP() << "the program is held to MAX_PATH on Windows";
  const std::string folder = root_.Path(std::string(200, 'a') + "/" + std::string(200, 'b'));
  root_.WriteFile(std::string(200, 'a') + "/" + std::string(200, 'b') + "/" + std::string(200, 'c'),
                  "x");
  ASSERT_GT(folder.size(), 400u);
  DeletePath(W(folder + "/"));
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_TRUE(fs::exists(root_.Path(std::string(200, 'a'))));

  DeletePath(W(root_.Path(std::string(kMaxDeletePathLength, 'x'))));
  DeletePath(W(root_.Path("no/such/thing")));
  DeletePath(u"");
}

}  // namespace
}  // namespace qv::workflow
