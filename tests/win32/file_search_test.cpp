// The file search on Windows: the system's listing, matched with the same wildcard rules as on
// Linux.
#include "platform/file_search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <vector>

#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

using ::testing::ElementsAre;

class FileSearchTest : public test::WindowsTempFolderTest {
 protected:
  void SetUp() override {
    for (const char* file : {"a.TXT", "b.txt", "noext", "c.txt.bak"}) {
      ASSERT_TRUE(test::WriteWindowsFile(root_.Path(file), "x"));
    }
    ASSERT_TRUE(CreateDirectoryW(win32::Wide(root_.Path("Sub")).c_str(), nullptr));
  }

  std::vector<std::string> Found(const std::string& pattern) {
    std::vector<std::string> names;
    auto search = FileSearch::Start(root_.path(), pattern);
    EXPECT_TRUE(search.has_value());
    FoundEntry entry;
    while (search && search->Next(entry)) {
      names.push_back(entry.name + (entry.is_directory ? "/" : ""));
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileSearchTest, ListsTheFolderThroughTheSystemWithTheSameWildcards) {
  EXPECT_THAT(Found("*.txt"), ElementsAre("a.TXT", "b.txt"));
  EXPECT_THAT(Found("*.*"), ElementsAre("Sub/", "a.TXT", "b.txt", "c.txt.bak", "noext"));
  EXPECT_THAT(Found("?.txt"), ElementsAre("a.TXT", "b.txt"));
  EXPECT_THAT(Found("sub"), ElementsAre("Sub/"));
  EXPECT_THAT(Found("*.exe"), ElementsAre());
}

TEST_F(FileSearchTest, AMissingFolderHasNoSearchAndAnEmptyOneFindsNothing) {
  EXPECT_FALSE(FileSearch::Start(root_.Path("missing"), "*").has_value());
  EXPECT_FALSE(FileSearch::Start(root_.Path("noext"), "*").has_value());  // a file
  auto empty = FileSearch::Start(root_.Path("Sub"), "*");
  ASSERT_TRUE(empty.has_value());
  FoundEntry entry;
  EXPECT_FALSE(empty->Next(entry));
}

}  // namespace
}  // namespace qv::platform
