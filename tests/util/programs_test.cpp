#include "util/programs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "program_probe.h"
#include "system_files.h"
#include "temp_root.h"
#include "util/file_system.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;

// A process list the test steers.
class FakeProcessTable final : public platform::ProcessTable {
 public:
  std::optional<std::vector<platform::ProcessEntry>> entries;
  std::optional<std::vector<platform::ProcessEntry>> Snapshot() const override { return entries; }
  bool Terminate(pid_t) const override { return false; }
};

TEST(ProgramNameTest, TextBetweenTheLastSlashAndTheLastDot) {
  struct Case {
    std::u16string path;
    std::u16string name;
  };
  const Case cases[] = {
      {u"/opt/dl/tov3_web.run", u"tov3_web"},
      {u"/x/archive.tar.gz", u"archive.tar"},
      {u"/builds/v1.2/installer", u""},  // a dot in the folder, none in the file
      {u"tov3_web.run", u""},            // no folder part
      {u"/x/.run", u""},
      {u"/x/\u6e38\u620f.run", u"\u6e38\u620f"},
  };
  for (const auto& c : cases) {
    const std::u16string path = test::OnThisSystem(c.path);
    EXPECT_EQ(ProgramNameFromPath(path), c.name) << WideToUtf8(path);
  }
}

TEST(PackageCodeTest, DropsOneDuplicateDownloadSuffix) {
  struct Case {
    std::u16string name;
    std::u16string code;
  };
  const Case cases[] = {
      {u"tov3_web", u"tov3_web"},
      {u"tov3_web (1)", u"tov3_web"},
      {u"tov3_web(2)", u"tov3_web"},
      {u"tov3_web (12)", u"tov3_web"},
      {u"tov3_web (1) (2)", u"tov3_web (1)"},  // one suffix only
      {u"tov3_web  (1)", u"tov3_web "},        // one blank belongs to the suffix
      {u"tov3_web ()", u"tov3_web ()"},        // no number
      {u"tov3_web (1a)", u"tov3_web (1a)"},
      {u"tov3_web (-1)", u"tov3_web (-1)"},
      {u"tov3_web (1", u"tov3_web (1"},
      {u"tov3_web (1) ", u"tov3_web (1) "},    // not at the very end
      {u"tov3_web\uff08" u"1\uff09", u"tov3_web\uff08" u"1\uff09"},  // full-width parentheses
      {u"(1)", u"(1)"},                         // nothing but the suffix
      {u" (1)", u" (1)"},
      {u"x(1)", u"x"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PackageCodeFromProgramName(c.name), c.code) << WideToUtf8(c.name);
  }
}

TEST(FindProcessTest, TakesTheFirstExactMatchOfTheList) {
  FakeProcessTable table;
  table.entries = {{{1, "init"}, {40, "qvorhall.exe"}, {41, "QVorvane.exe"}, {42, "QVorvane.exe"}}};
  EXPECT_EQ(FindProcess(u"QVorvane.exe", table), 41);
  EXPECT_EQ(FindProcess(u"qvorvane.exe", table), 0);
  EXPECT_EQ(FindProcess(u"QVorvane", table), 0);
  table.entries.reset();  // the list cannot be read
  EXPECT_EQ(FindProcess(u"QVorvane.exe", table), 0);
}

class ProgramsTest : public test::TempRootTest {};

TEST_F(ProgramsTest, FindProcessMatchesARealChildInExactCaseOnly) {
  const std::string name = "QvFindMe-" + std::to_string(getpid()) + ".exe";
  const std::string program = root_.Path(name);
  test::CopyProgramProbe(program);
  test::WaitingProcess child(program);
  std::string upper = name;
  for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(FindProcess(Utf8ToWide(name)), child.pid());
  EXPECT_EQ(FindProcess(Utf8ToWide(upper)), 0);
}

TEST_F(ProgramsTest, EverySpellingOfTheClientIsRecognisedAndStarted) {
  fs::create_directories(root_.Path("Qvorvane/app/Work"));
  test::CopyProgramProbe(root_.Path("Qvorvane/app/") + std::string(WideToUtf8(kClientExecutable)));
  const std::u16string folder = Utf8ToWide(root_.Path("Qvorvane/app/"));
  int run = 0;
  for (const std::u16string spelling : {u"QVorvane.exe", u"QVORVANE.EXE", u"qvorvane.exe"}) {
    SCOPED_TRACE(WideToUtf8(spelling));
    EXPECT_TRUE(IsFile(folder + spelling));
    test::ProbeReport report(root_.Path("report-" + std::to_string(run++)));
    ASSERT_TRUE(RunProgram(folder + spelling, u"/game=312", folder + u"WORK"));
    const std::string text = report.Read();
    EXPECT_TRUE(test::ReportsWorkingFolder(text, root_.Path("Qvorvane/app/Work"))) << text;
  }
}

TEST_F(ProgramsTest, RunProgramSplitsTheParameterLineAndSetsTheFolder) {
  fs::create_directories(test::FsPath(root_.Path("Client Dir/\u00c9tat")));
  test::CopyProgramProbe(root_.Path("Client Dir/QVorvane.exe"));
  test::ProbeReport report(root_.Path("report"));
  // Separators written the original platform's way are normalised. Names differing in the case of
  // other than ASCII letters are one name on Linux and on Windows, not under Wine.
  const std::string folder_spelling = test::OnWindows() ? "client dir\\\u00c9tat\\"
                                                        : "client dir\\\u00e9tat\\";
  ASSERT_TRUE(RunProgram(Utf8ToWide(root_.Path("Client Dir\\QVorvane.exe")),
                         u" /game=312 \"two words\" a\\\"b \"\" C:\\x\\ ",
                         Utf8ToWide(root_.Path(folder_spelling))));
  const std::string expected_tail =
      "arg=/game=312\narg=two words\narg=a\"b\narg=\narg=C:\\x\\\n";
  const std::string text = report.Read();
  EXPECT_TRUE(test::ReportsWorkingFolder(text, root_.Path("Client Dir/\u00c9tat"))) << text;
  EXPECT_TRUE(text.ends_with(expected_tail)) << text;
  EXPECT_FALSE(RunProgram(Utf8ToWide(root_.Path("missing.exe")), u"", u""));
}

}  // namespace
}  // namespace qv::util
