#include "util/zip_entry_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/system_info.h"
#include "system_path.h"

namespace qv::util {
namespace {

TEST(ZipEntryNameTest, SafeNamesBecomeRelativePathsAndUnsafeOnesAreRefused) {
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"QVorvane.exe", "QVorvane.exe"},
      {"data/deep/readme.txt", "data/deep/readme.txt"},
      {"data\\deep\\readme.txt", "data/deep/readme.txt"},
      {"data/", "data/"},
      {"./a/./b", "./a/./b"},
      {"a..b/..c", "a..b/..c"},
      {"", std::nullopt},
      {"..", std::nullopt},
      {"../evil", std::nullopt},
      {"..\\evil", std::nullopt},
      {"a/../../evil", std::nullopt},
      {"a\\..\\..\\evil", std::nullopt},
      {"a/..", std::nullopt},
      {"a/../b", std::nullopt},
      {"/etc/passwd", std::nullopt},
      {"\\evil", std::nullopt},
      {"//server/share/evil", std::nullopt},
      {"C:\\evil", std::nullopt},
      {"c:evil", std::nullopt},
      {"Z:/evil", std::nullopt},
      {std::string("a\0b", 3), std::nullopt},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(SafeEntryPath(name), expected ? std::optional(test::OnThisSystem(*expected)) : expected)
        << name;
  }
}

// Names Windows gives a meaning of their own (a stream, a device, a name it would shorten) are
// refused there; elsewhere they are ordinary names and stay as they are.
TEST(ZipEntryNameTest, NamesWithAMeaningOnWindowsAreRefusedThere) {
  const bool windows = platform::RunningWindowsVersion().has_value();
  for (const std::string name : {"a/b:c", "a..b/..c/d..", "data/nul.txt", "CON", "com1/x",
                                 "a/b ", "a/b?c", "a/b*", "lpt9.log"}) {
    EXPECT_EQ(SafeEntryPath(name), windows ? std::nullopt : std::optional(test::OnThisSystem(name)))
        << name;
  }
}

TEST(ZipEntryNameTest, JoinAddsOneSeparatorOnlyWhenMissing) {
  using test::OnThisSystem;
  EXPECT_EQ(JoinEntryTarget(OnThisSystem("/dest"), OnThisSystem("a/b")), OnThisSystem("/dest/a/b"));
  EXPECT_EQ(JoinEntryTarget(OnThisSystem("/dest/"), OnThisSystem("a/b")), OnThisSystem("/dest/a/b"));
  EXPECT_EQ(JoinEntryTarget(OnThisSystem("/"), "a"), OnThisSystem("/a"));
}

}  // namespace
}  // namespace qv::util
