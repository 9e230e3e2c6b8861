#include "workflow/folders/install_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "install_steps_machine.h"
#include "platform/files.h"
#include "platform/private_profile.h"
#include "temp_root.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;
using test::kGiB;

class InstallFoldersTest : public test::InstallStepsMachineTest {
 protected:
  std::string RememberedDataFolder() const {
    std::string value;
    platform::GetPrivateProfileString("General", "dl_path", "<none>", value, 1024, ConfigIni());
    return value;
  }
  std::u16string Resolve(std::u16string emulator_candidate = {}) {
    uint64_t min_space_kb = kDownloadFolderSpaceKb;
    return ResolveDataFolderFrom(std::move(emulator_candidate), min_space_kb, "dl_path",
                                 context_.machine);
  }
  // An existing folder whose path names drive G ("g:/Games/"): on Linux a folder of that name
  // below the root, made here; on Windows the drive itself, which the prefix lacks, so only the
  // refusal is seen there.
  std::string DriveGFolder(std::string_view relative) const {
    if (test::OnWindows()) return test::OnThisSystem(relative);
    fs::create_directories(root_.Path(relative));
    return root_.Path(relative);
  }
};

TEST_F(InstallFoldersTest, AnExistingRememberedFolderIsUsedTrimmedWithItsLetterCaseKept) {
  fs::create_directories(root_.Path("Data/Games"));
  const std::string folder = root_.Path("Data/Games/");
  // Quotes keep the blanks in the value; the no-break space is white space the file's own
  // reader leaves alone.
  const std::string stored = "\"  \xc2\xa0" + folder + " \t\"";
  RememberDataFolder(stored);
  EXPECT_EQ(Resolve(), W(folder));
  std::string value;
  platform::GetPrivateProfileString("General", "dl_path", "", value, 1024, ConfigIni());
  EXPECT_EQ(value, "  \xc2\xa0" + folder + " \t");  // the key is not rewritten
  EXPECT_FALSE(fs::exists(ChosenDataFolder()));
}

TEST_F(InstallFoldersTest, AnUnusableRememberedFolderGivesWayToTheDriveChoiceWhichIsRemembered) {
  const std::string cases[] = {
      "",                                  // nothing remembered
      root_.Path("gone/"),                 // no such folder
      DriveGFolder("g:/Games/"),           // drive G is never taken, even when it exists
      DriveGFolder("G:/Games/"),           // in either letter case
      "Games/",                            // relative: depends on the folder we were started in
      root_.WriteFile("a-file", "x"),      // not a folder
  };
  for (const std::string& remembered : cases) {
    RememberDataFolder(remembered);
    EXPECT_EQ(Resolve(), W(ChosenDataFolder())) << remembered;
    EXPECT_EQ(RememberedDataFolder(), ChosenDataFolder()) << remembered;
    fs::remove_all(ChosenDataFolder());
  }
  EXPECT_FALSE(fs::exists("Games"));
}

TEST_F(InstallFoldersTest, TheChosenFolderIsCreatedHiddenAndUsedFromThenOn) {
  EXPECT_EQ(Resolve(), W(ChosenDataFolder()));
  ASSERT_TRUE(fs::is_directory(ChosenDataFolder()));
  EXPECT_EQ(platform::GetFileAttributes(ChosenDataFolder())->is_hidden, HiddenIsKept());
  EXPECT_EQ(RememberedDataFolder(), ChosenDataFolder());

  // A later run asking for more room than any drive has keeps the remembered folder.
  drives_.free_bytes[DriveD()] = 0;
  uint64_t min_space_kb = 500 * kGiB;
  EXPECT_EQ(ResolveDataFolderFrom({}, min_space_kb, "dl_path", context_.machine),
            W(ChosenDataFolder()));
  EXPECT_EQ(min_space_kb, 500 * kGiB);
}

TEST_F(InstallFoldersTest, TheEmulatorsExistingFolderWinsAndIsNeverRemembered) {
  fs::create_directories(root_.Path("Emulator"));
  fs::create_directories(root_.Path("Remembered"));
  RememberDataFolder(root_.Path("Remembered/"));
  const std::string config_before = qv::test::ReadFileBytes(ConfigIni()).value();
  EXPECT_EQ(Resolve(W(" " + root_.Path("Emulator/") + "\n")), W(root_.Path("Emulator/")));
  EXPECT_EQ(qv::test::ReadFileBytes(ConfigIni()), config_before);

  // A missing emulator folder, or one on drive G, is passed over.
  EXPECT_EQ(Resolve(W(root_.Path("NoEmulator/"))), W(root_.Path("Remembered/")));
  EXPECT_EQ(Resolve(W(DriveGFolder("g:/Emulator/"))), W(root_.Path("Remembered/")));
}

TEST_F(InstallFoldersTest, TheDriveChoiceAsksForFiveGibibytesWhenGivenNoMinimum) {
  // Drive D has 4 GiB: enough for a minimum of 0 taken literally, too little for 5 GiB.
  drives_.free_bytes[DriveD()] = 4 * kGiB;
  uint64_t min_space_kb = 0;
  EXPECT_EQ(ResolveDataFolderFrom({}, min_space_kb, "dl_path", context_.machine),
            W(SystemRoot() + test::OnThisSystem("QVorvane/")));
  EXPECT_EQ(min_space_kb, 100 * kGiB / 1024);  // the chosen drive's free space
}

TEST_F(InstallFoldersTest, WithoutAnyDriveNothingIsCreatedAndNoFolderIsGiven) {
  drives_.system_root.clear();
  drives_.roots.clear();
  RememberDataFolder("Games/");
  EXPECT_EQ(Resolve(), u"");
  EXPECT_EQ(GetDownloadFolder(context_.machine), u"");
  EXPECT_EQ(GetGameInstallFolder(u"1001", context_.machine), u"");
  EXPECT_EQ(RememberedDataFolder(), "Games/");
  EXPECT_FALSE(fs::exists("Games"));
  EXPECT_FALSE(fs::exists("download"));
  EXPECT_FALSE(fs::exists("install"));
}

TEST_F(InstallFoldersTest, SubFoldersAreAppendedToTheDataFolderAsWritten) {
  fs::create_directories(root_.Path("data/games"));
  RememberDataFolder(root_.Path("data/games"));  // no final '/'
  EXPECT_EQ(GetDownloadFolder(context_.machine), W(root_.Path("data/gamesdownload/app/")));
  EXPECT_TRUE(fs::is_directory(root_.Path("data/gamesdownload/app")));

  RememberDataFolder(root_.Path("data/games/"));
  EXPECT_EQ(GetGameInstallFolder(u"1001", context_.machine),
            W(root_.Path("data/games/install/plugin/1001/")));
  EXPECT_TRUE(fs::is_directory(root_.Path("data/games/install/plugin/1001")));
  SetGame("1001", "Game");
  EXPECT_EQ(GetGameFilesFolder(context_), W(root_.Path("data/games/install/plugin/1001/app/")));
  EXPECT_TRUE(fs::is_directory(root_.Path("data/games/install/plugin/1001/app")));
}

TEST_F(InstallFoldersTest, AGameIdThatIsNoPlainNameNeverBecomesAFolder) {
  for (const std::u16string_view game_id : {u"", u".", u"..", u"../1001", u"a/b", u"a\\b",
                                            u"a\nb", u"a\tb", u"a\u0085b"}) {
    EXPECT_EQ(GetGameInstallFolder(game_id, context_.machine), u"");
  }
  SetGame("..", "Game");
  EXPECT_EQ(GetGameFilesFolder(context_), u"");
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + test::OnThisSystem("install/plugin")));
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + test::OnThisSystem("install/app")));
}

TEST_F(InstallFoldersTest, TheKeptPackageCopyIsNamedAfterIdVersionAndCodeWhenThatIsOneName) {
  SetGame("1001", "Game");
  SetText(context_.record.game_ver, "1.0.2");
  context_.record.ver_air = 17;
  EXPECT_EQ(KeptPackageCopyPath(context_), W(ChosenDataFolder() + test::OnThisSystem("download/app/1001_1.0.2_17.dat")));
  context_.record.ver_air = -3;
  EXPECT_EQ(KeptPackageCopyPath(context_), W(ChosenDataFolder() + test::OnThisSystem("download/app/1001_1.0.2_-3.dat")));

  SetText(context_.record.game_ver, "1/../../../x");
  EXPECT_EQ(KeptPackageCopyPath(context_), u"");
}

}  // namespace
}  // namespace qv::workflow
