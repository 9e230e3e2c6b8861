#include "platform/path_syntax.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::platform {
namespace {

bool OnWindows() { return kPathSeparator == '\\'; }

// One table, each answer given for both systems.
TEST(PathSyntaxTest, AbsolutePathsAndRootsAsEachSystemSeesThem) {
  struct Answer {
    bool absolute;
    bool local_absolute;
    bool root;
  };
  struct Case {
    std::string path;
    Answer linux_answer;
    Answer windows_answer;
  };
  const Case cases[] = {
      {"/", {true, true, true}, {false, false, true}},
      {"//", {true, true, true}, {true, false, true}},
      {"/home/u", {true, true, false}, {false, false, false}},
      {"relative/x", {false, false, false}, {false, false, false}},
      {"", {false, false, false}, {false, false, false}},
      {"C:\\", {false, false, false}, {true, true, true}},
      {"c:/Games", {false, false, false}, {true, true, false}},
      {"C:", {false, false, false}, {false, false, true}},
      {"C:relative", {false, false, false}, {false, false, false}},
      {"\\folder", {false, false, false}, {false, false, false}},
      {"\\\\server\\share", {false, false, false}, {true, false, false}},
      {"\\\\?\\C:\\x", {false, false, false}, {true, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const Answer& expected = OnWindows() ? c.windows_answer : c.linux_answer;
    EXPECT_EQ(IsAbsolutePath(c.path), expected.absolute);
    EXPECT_EQ(IsLocalAbsolutePath(c.path), expected.local_absolute);
    EXPECT_EQ(IsFileSystemRoot(c.path), expected.root);
  }
}

TEST(PathSyntaxTest, PathTextMatchesAsTheFileSystemsMatchNames) {
  EXPECT_TRUE(SamePathText("/opt/Games", "/opt/Games"));
  EXPECT_EQ(SamePathText("C:\\Games\\TOV3", "c:\\games\\tov3"), OnWindows());
  EXPECT_FALSE(SamePathText("/opt/Games", "/opt/Game"));
  EXPECT_FALSE(SamePathText("C:\\A", "C:\\B"));
}

}  // namespace
}  // namespace qv::platform
