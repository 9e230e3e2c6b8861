#include "platform/path_resolution.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_root.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

TEST(NamesMatchIgnoringCaseTest, ComparesCharactersNotBytes) {
  struct Case {
    const char* a;
    const char* b;
    bool match;
  };
  const Case cases[] = {
      {"QVorvane.exe", "qvorvane.exe", true},
      {"QVORVANE.EXE", "QVorvane.exe", true},
      {"\xc3\x84rger.txt", "\xc3\xa4RGER.TXT", true},                       // Ärger / äRGER
      {"\xd0\x9f\xd1\x80\xd0\xb8", "\xd0\xbf\xd0\xa0\xd0\x98", true},       // При / пРИ
      {"stra\xc3\x9f" "e", "STRASSE", false},                               // no multi-letter folding
      {"a", "ab", false},
      {"", "", true},
      {"\xff", "\xff", true},   // bytes that are not UTF-8 compare as themselves
      {"\xff", "\xfe", false},
      {"\xc3", "\xc3\x84", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NamesMatchIgnoringCase(c.a, c.b), c.match) << c.a << " / " << c.b;
    EXPECT_EQ(NamesMatchIgnoringCase(c.b, c.a), c.match) << c.b << " / " << c.a;
  }
}

class PathResolutionTest : public test::TempRootTest {};

TEST_F(PathResolutionTest, EverySpellingOfTheClientFindsTheOneFile) {
  const std::string file = root_.WriteFile("Qvorvane/app/QVorvane.exe", "client");
  for (const char* spelling : {"QVorvane.exe", "QVORVANE.EXE", "qvorvane.exe"}) {
    EXPECT_EQ(ResolveExistingPath(root_.Path("Qvorvane/app/") + spelling), file) << spelling;
    EXPECT_EQ(ResolveExistingPath(root_.Path("QVORVANE/App/") + spelling), file) << spelling;
  }
  EXPECT_EQ(ResolveExistingPath(root_.Path("qvorvane//APP/")), root_.Path("Qvorvane/app/"));
}

TEST_F(PathResolutionTest, ExactSpellingWinsAndAmbiguityIsSettledTheSameWayEveryTime) {
  root_.WriteFile("two/a.txt", "lower");
  root_.WriteFile("two/A.txt", "upper");
  EXPECT_EQ(ResolveExistingPath(root_.Path("two/a.txt")), root_.Path("two/a.txt"));
  EXPECT_EQ(ResolveExistingPath(root_.Path("two/A.txt")), root_.Path("two/A.txt"));
  EXPECT_EQ(ResolveExistingPath(root_.Path("two/a.TXT")), root_.Path("two/A.txt"));
}

TEST_F(PathResolutionTest, MissingComponentsAreNotInvented) {
  root_.WriteFile("Data/file.txt", "x");
  EXPECT_EQ(ResolveExistingPath(root_.Path("data/other.txt")), std::nullopt);
  EXPECT_EQ(ResolveExistingPath(root_.Path("nowhere/file.txt")), std::nullopt);
  EXPECT_EQ(ResolveExistingPath(""), std::nullopt);
}

TEST_F(PathResolutionTest, NewEntriesTakeAnExistingSpellingElseTheGivenOne) {
  root_.WriteFile("Data/New.txt", "x");
  EXPECT_EQ(ResolvePathForCreation(root_.Path("DATA/NEW.TXT")), root_.Path("Data/New.txt"));
  EXPECT_EQ(ResolvePathForCreation(root_.Path("data/Fresh.ini")), root_.Path("Data/Fresh.ini"));
  EXPECT_EQ(ResolvePathForCreation(root_.Path("missing/Fresh.ini")), root_.Path("missing/Fresh.ini"));
}

// Folders that exist in another spelling are taken at every level, however many are still
// missing below them; only the missing ones keep the spelling given.
TEST_F(PathResolutionTest, NewEntriesGoIntoExistingFoldersAtEveryLevel) {
  fs::create_directories(root_.Path("QVORVANE/APP"));
  fs::create_directories(root_.Path("QVORVANE/GameBag"));
  const struct {
    const char* given;
    const char* made;
  } cases[] = {
      {"Qvorvane/config.ini", "QVORVANE/config.ini"},
      {"Qvorvane/app/plugins/air/x.dll", "QVORVANE/APP/plugins/air/x.dll"},
      {"qvorvane/gamebag/312/icon.ico", "QVORVANE/GameBag/312/icon.ico"},
      {"Qvorvane/app.staging/", "QVORVANE/app.staging/"},
      {"Other/app/x", "Other/app/x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolvePathForCreation(root_.Path(c.given)), root_.Path(c.made)) << c.given;
  }
}

TEST_F(PathResolutionTest, ALinkIsResolvedAsAnEntryNotFollowedAtTheEnd) {
  fs::create_directories(root_.Path("target"));
  fs::create_directory_symlink(root_.Path("target"), root_.Path("Link"));
  EXPECT_EQ(ResolveExistingPath(root_.Path("link")), root_.Path("Link"));
  fs::create_symlink(root_.Path("gone"), root_.Path("Dangling"));
  EXPECT_EQ(ResolveExistingPath(root_.Path("dangling")), root_.Path("Dangling"));
}

}  // namespace
}  // namespace qv::platform
