#include "platform/file_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "temp_root.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

TEST(MatchesWildcardTest, PatternsOfTheOriginalFileSearch) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*", "abc", true},
      {"*.*", "README", true},  // ".*" at the end also matches no extension
      {"*.*", "a.b.c", true},
      {"*.*", ".hidden", true},
      {"*.ini", "config.INI", true},
      {"*.ini", "config.ini.bak", false},
      {"*.exe", "setup", false},
      {"?.txt", "a.txt", true},
      {"?.txt", "ab.txt", false},
      {"?.txt", "\xc3\xa4.txt", true},  // '?' is one character, not one byte
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"*b", "abab", true},
      {"game*.x?l", "Game312.XML", true},
      {"", "a", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
  }
}

class FileSearchTest : public test::TempRootTest {
 protected:
  // name -> "dir", "link" or "file" for everything the search finds.
  std::map<std::string, std::string> Find(const std::string& folder, const std::string& pattern) {
    std::map<std::string, std::string> found;
    auto search = FileSearch::Start(folder, pattern);
    EXPECT_TRUE(search.has_value()) << folder;
    if (!search) return found;
    FoundEntry entry;
    while (search->Next(entry)) {
      found[entry.name] = entry.is_directory ? "dir" : entry.is_symlink ? "link" : "file";
    }
    return found;
  }
};

TEST_F(FileSearchTest, ListsMatchingEntriesWithTheirKindAndNeverDotEntries) {
  root_.WriteFile("tree/a.txt", "a");
  root_.WriteFile("tree/b.INI", "b");
  root_.WriteFile("tree/sub/c.txt", "c");
  fs::create_directory_symlink(root_.Path("tree/sub"), root_.Path("tree/to-sub"));
  const std::map<std::string, std::string> all = {
      {"a.txt", "file"}, {"b.INI", "file"}, {"sub", "dir"}, {"to-sub", "link"}};
  EXPECT_EQ(Find(root_.Path("tree"), "*"), all);
  EXPECT_EQ(Find(root_.Path("TREE"), "*.*"), all);
  EXPECT_EQ(Find(root_.Path("tree"), "*.ini"), (std::map<std::string, std::string>{{"b.INI", "file"}}));
  fs::create_directories(root_.Path("empty"));
  EXPECT_TRUE(Find(root_.Path("empty"), "*").empty());
}

TEST_F(FileSearchTest, AFolderThatCannotBeReadGivesNoSearch) {
  EXPECT_FALSE(FileSearch::Start(root_.Path("missing"), "*").has_value());
  const std::string file = root_.WriteFile("plain.txt", "x");
  EXPECT_FALSE(FileSearch::Start(file, "*").has_value());
}

}  // namespace
}  // namespace qv::platform
