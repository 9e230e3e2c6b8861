#include "util/folder_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_root.h"
#include "util/text_conversion.h"
#include "system_files.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;

class FolderListingTest : public test::TempRootTest {
 protected:
  void SetUp() override {
    root_.WriteFile("tree/root.txt", "");
    root_.WriteFile("tree/NOEXT", "");
    root_.WriteFile("tree/a/a1.ini", "");
    root_.WriteFile("tree/a/aa/aa1.txt", "");
    root_.WriteFile("tree/b/b1.txt", "");
    root_.WriteFile("outside/secret.txt", "");
    // Where the system makes no links (Wine), the listings are checked without one.
    has_link_ = test::TryCreateSymbolicLink(root_.Path("outside"), root_.Path("tree/b/link"));
    tree_ = Utf8ToWide(root_.Path("tree"));
  }
  std::vector<std::u16string> Under(std::initializer_list<std::u16string_view> names) {
    std::vector<std::u16string> paths;
    for (const auto name : names) {
      paths.push_back(tree_ + test::OnThisSystem(u"/" + std::u16string(name)));
    }
    return paths;
  }
  static std::vector<std::u16string> Sorted(std::vector<std::u16string> list) {
    std::sort(list.begin(), list.end());
    return list;
  }

  std::u16string tree_;
  bool has_link_ = false;
};

TEST_F(FolderListingTest, ListFilesReplacesTheListWithMatchingFilesAndLinks) {
  std::vector<std::u16string> list{u"stale"};
  EXPECT_TRUE(ListFiles(tree_ + test::OnThisSystem(u"/"), u"*.*", list));
  EXPECT_EQ(Sorted(list), Under({u"NOEXT", u"root.txt"}));
  EXPECT_TRUE(ListFiles(tree_ + test::OnThisSystem(u"/B"), u"*", list));
  EXPECT_EQ(Sorted(list), has_link_ ? Under({u"B/b1.txt", u"B/link"}) : Under({u"B/b1.txt"}));
  EXPECT_FALSE(ListFiles(tree_, u"*.dll", list));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(ListFiles(tree_ + test::OnThisSystem(u"/missing"), u"*", list));
}

TEST_F(FolderListingTest, SubfoldersComeBreadthFirstAndLinksAreNotWalked) {
  std::vector<std::u16string> list{u"kept"};
  EXPECT_TRUE(ListSubfolders(tree_, u"*", list));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], u"kept");
  EXPECT_EQ(Sorted({list[1], list[2]}), Under({u"a", u"b"}));
  EXPECT_EQ(list[3], Under({u"a/aa"})[0]);
  std::vector<std::u16string> none;
  EXPECT_FALSE(ListSubfolders(tree_ + test::OnThisSystem(u"/missing"), u"*", none));
}

TEST_F(FolderListingTest, RecursiveFilesListSubfoldersFirstAndTheRootLast) {
  std::vector<std::u16string> list{u"stale"};
  EXPECT_TRUE(ListFilesRecursive(tree_, list, u"*", u"*.txt"));
  // Folders breadth first (a and b before a/aa), the root last.
  EXPECT_EQ(list, Under({u"b/b1.txt", u"a/aa/aa1.txt", u"root.txt"}));
  EXPECT_FALSE(ListFilesRecursive(tree_, list, u"*", u"*.dll"));
}

}  // namespace
}  // namespace qv::util
