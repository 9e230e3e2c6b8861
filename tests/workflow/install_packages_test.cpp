#include "workflow/packages/install_packages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "install_steps_machine.h"
#include "loopback_server.h"
#include "platform/clock.h"
#include "temp_root.h"
#include "util/md5.h"
#include "virtual_clock.h"
#include "workflow/packages/platform_folder_swap.h"
#include "workflow/registration/registration_keys.h"
#include "workflow/tasks/status_keys.h"
#include "zip_builders.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;
using test::ZipEntry;

constexpr char kGameId[] = "1001";
constexpr char kGameProgram[] = "bin/game.exe";
constexpr char kGameProgramBytes[] = "game program";

std::string Md5OfText(const std::string& text) {
  util::Md5Context md5;
  util::Md5Init(md5);
  util::Md5Update(md5, text.data(), text.size());
  uint8_t digest[util::kMd5DigestSize];
  util::Md5Final(md5, digest);
  char hex[util::kMd5HexSize];
  util::Md5Hex(digest, hex);
  return std::string(hex);
}

// A fresh machine with a previous platform installation, a statistics server and the task's
// progress reports recorded as one letter each ('E'xtracting, 'I'nstalling).
class InstallPackagesTest : public test::InstallStepsMachineTest {
 protected:
  InstallPackagesTest() : clock_override_(clock_) {
    server_ = test::LoopbackServer::StartHttp();
    server_->Answer(kInstallReportPath, 200, "ok");
    SetText(context_.record.version, "3.2.1");
    context_.record.ver = 321;
    context_.record.ver_air = 5;
    SetText(context_.record.game_ver, "1.0");
    fs::create_directories(PlatformFolder());
    WriteLocalFile("app/old_only.dll", "old library");
    WriteLocalFile("app/qvorvane.ini", test::ProfileText("[General]\nversion=1.0\n"));
  }

  std::string PlatformFolder() const { return LocalData() + test::OnThisSystem("app/"); }
  std::string PluginFolder() const { return LocalData() + test::OnThisSystem("plugin/air/"); }
  std::string GameFilesFolder() const {
    return ChosenDataFolder() + test::OnThisSystem("install/plugin/" + std::string(kGameId) + "/app/");
  }
  std::string DownloadFolder() const { return ChosenDataFolder() + test::OnThisSystem("download/app/"); }

  std::string Archive(const std::string& name, const std::vector<ZipEntry>& entries) const {
    const std::string path = root_.Path("tmp/" + name);
    fs::create_directories(root_.Path("tmp"));
    test::BuildZipWithMinizip(path, entries);
    return path;
  }
  std::string PlatformArchive() const {
    return Archive("qvorinstall_1.tmp",
                   {ZipEntry::File("QVorvane.exe", "client"), ZipEntry::File("lib/a.so", "a")});
  }
  // A game package whose program matches its list, or not.
  std::string GamePackage(bool program_matches) const {
    const std::string digest = Md5OfText(program_matches ? kGameProgramBytes : "something else");
    return Archive("qvorairinstall_1.tmp",
                   {ZipEntry::File(kGameProgram, kGameProgramBytes),
                    ZipEntry::File(std::string(kGameId) + ".xml", "<root><items><item path=\"" + std::string(kGameProgram) +
                             "\" md5=\"" + digest + "\"/></items></root>")});
  }

  PackageInstallView View() {
    ReportTarget target{server_->Url(kInstallReportPath), W(ConfigIni()), nullptr};
    return PackageInstallView{
        context_,
        [this](std::u16string_view key, int code) {
          steps_ += key == kStatusExtracting ? 'E' : key == kStatusInstalling ? 'I' : '?';
          EXPECT_EQ(code, 0);
        },
        nullptr, target};
  }

  bool Install(const std::string& package, const std::string& platform_archive, bool present) {
    PackageInstallView view = View();
    return InstallPackages(W(package), view, W(platform_archive), present);
  }

  test::VirtualClock clock_;
  platform::ScopedClockOverride clock_override_;
  std::unique_ptr<test::LoopbackServer> server_;
  std::string steps_;
};

TEST_F(InstallPackagesTest, EachKindOfRunTakesItsProgressSteps) {
  struct Case {
    const char* name;
    const char* game_id;  // nullptr: no second package
    bool program_matches;
    const char* steps;
  };
  const Case cases[] = {
      {"no second package", nullptr, true, "EEEIII"},
      {"runtime plug-in", "312", true, "EEEEIII"},
      {"game package that passes its check", kGameId, true, "EEEEEEIII"},
      {"game package that fails its check", kGameId, false, "EEEEIII"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    steps_.clear();
    context_.percent = kInitialPercent;
    SetGame(c.game_id != nullptr ? c.game_id : "", "Game");
    const std::string package =
        c.game_id == nullptr ? std::string() : GamePackage(c.program_matches);
    EXPECT_TRUE(Install(package, PlatformArchive(), c.game_id != nullptr));
    EXPECT_EQ(steps_, c.steps);
    EXPECT_EQ(context_.percent, kInitialPercent + static_cast<int>(steps_.size()));
  }
}

TEST_F(InstallPackagesTest, NewPlatformReplacesTheOldFolderWhole) {
  const std::string archive = PlatformArchive();
  EXPECT_TRUE(Install("", archive, false));

  EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "QVorvane.exe"), "client");
  EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "lib/a.so"), "a");
  EXPECT_FALSE(fs::exists(PlatformFolder() + "old_only.dll"));
  EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "qvorvane.ini"),
            test::ProfileText("[General]\nversion=3.2.1\nver=321\n"));
  EXPECT_FALSE(fs::exists(archive));
  for (const auto& entry : fs::directory_iterator(LocalData())) {
    EXPECT_EQ(entry.path().filename().string().find("app."), std::string::npos)
        << "left behind: " << entry.path();
  }
  if (test::OnWindows()) {  // the system's registry, where the rights are the system's own
    EXPECT_TRUE(KeyExists(platform::RegistryRoot::kClassesRoot, kProtocolCommandKey));
  } else {
    EXPECT_NE(FileText(platform::RegistryRoot::kCurrentUser).find("QVorvane"), std::string::npos);
  }
  EXPECT_TRUE(server_->RequestsTo(kInstallReportPath).empty());
}

TEST_F(InstallPackagesTest, TheClientIsMarkedInstalledOnlyOnceEverythingElseIsInPlace) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRights;
  // A later run takes an App Paths entry for a complete installation, so a run cut short must
  // not leave one behind before its last step. Every write attempt on the machine root is
  // watched (and refused, so everything lands under the current user).
  std::vector<bool> complete_at_attempt;
  rights_ = [this, &complete_at_attempt] {
    const std::string record = test::ReadFileBytes(PlatformFolder() + "qvorvane.ini").value_or("");
    complete_at_attempt.push_back(record.find("ver=321") != std::string::npos &&
                                  KeyExists(platform::RegistryRoot::kClassesRoot,
                                            kProtocolCommandKey) &&
                                  KeyExists(platform::RegistryRoot::kCurrentUser, kUninstallKey));
    return false;
  };
  EXPECT_TRUE(Install("", PlatformArchive(), false));

  ASSERT_GE(complete_at_attempt.size(), 2u);
  EXPECT_FALSE(complete_at_attempt.front());  // the uninstall entry
  EXPECT_TRUE(complete_at_attempt.back());    // the App Paths entry
  EXPECT_TRUE(Value(platform::RegistryRoot::kCurrentUser, kAppPathsKey, "").has_value());
}

TEST_F(InstallPackagesTest, FailedRegistrationIsReportedAndTheRunGoesOn) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRights;
  // A file where the per-user registry folder belongs: that store cannot be written, even by root.
  root_.WriteFile("home/.config/qvorvane-registry", "");
  EXPECT_TRUE(Install("", PlatformArchive(), false));

  const auto reports = server_->RequestsTo(kInstallReportPath);
  ASSERT_FALSE(reports.empty());
  EXPECT_NE(reports[0].body.find("op=15"), std::string::npos) << reports[0].body;
  EXPECT_NE(reports[0].body.find("regedit_fail"), std::string::npos) << reports[0].body;
  EXPECT_EQ(steps_, "EEEIII");
  EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "qvorvane.ini"),
            test::ProfileText("[General]\nversion=3.2.1\nver=321\n"));
}

TEST_F(InstallPackagesTest, DamagedPlatformArchiveKeepsTheOldFolderAndRegistersNothing) {
  struct Case {
    const char* name;
    std::vector<ZipEntry> entries;
    bool truncate;
  };
  const Case cases[] = {
      {"second entry fails its CRC",
       {ZipEntry::File("QVorvane.exe", "client"),
        ZipEntry::FileWithCrc("lib/a.so", "a", 0x1234)},
       false},
      {"entry leaving the folder",
       {ZipEntry::File("QVorvane.exe", "client"), ZipEntry::File("../escaped", "x")},
       false},
      {"archive cut short", {ZipEntry::File("QVorvane.exe", std::string(5000, 'c'))}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    steps_.clear();
    const std::string archive = Archive("qvorinstall_2.tmp", c.entries);
    if (c.truncate) test::TruncateFile(archive, fs::file_size(archive) / 2);

    EXPECT_FALSE(Install("", archive, false));

    EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "old_only.dll"), "old library");
    EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "qvorvane.ini"), test::ProfileText("[General]\nversion=1.0\n"));
    EXPECT_FALSE(fs::exists(PlatformFolder() + "QVorvane.exe"));
    EXPECT_FALSE(fs::exists(LocalData() + "app.staging"));
    EXPECT_FALSE(fs::exists(LocalData() + "escaped"));
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_EQ(FileText(platform::RegistryRoot::kCurrentUser), "");
    EXPECT_EQ(FileText(platform::RegistryRoot::kLocalMachine), "");
    EXPECT_EQ(steps_, "EE");
  }
}

// A run that ends at the platform's extraction leaves none of its downloads in the temporary
// folder, the second package included.
TEST_F(InstallPackagesTest, FailedPlatformExtractionLeavesNoDownloadBehind) {
  for (const char* game_id : {"312", kGameId}) {
    SCOPED_TRACE(game_id);
    SetGame(game_id, "Game");
    const std::string package =
        Archive("qvorairinstall_3.tmp", {ZipEntry::File("air/runtime.so", "runtime")});
    const std::string archive =
        Archive("qvorinstall_3.tmp", {ZipEntry::FileWithCrc("QVorvane.exe", "client", 0x1234)});

    EXPECT_FALSE(Install(package, archive, true));

    EXPECT_FALSE(fs::exists(archive));
    EXPECT_FALSE(fs::exists(package));
    EXPECT_FALSE(fs::exists(PluginFolder() + "air/runtime.so"));
  }
}

TEST_F(InstallPackagesTest, ASwapCutBetweenItsRenamesGetsThePreviousClientBack) {
  for (const bool archive_is_damaged : {true, false}) {
    SCOPED_TRACE(archive_is_damaged ? "damaged archive" : "good archive");
    // A run that ended after moving the previous client aside and before moving the new one in.
    WriteLocalFile("app.previous/old_only.dll", "old library");
    WriteLocalFile("app.staging/half.dll", "half");
    fs::remove_all(PlatformFolder());
    const std::string archive =
        archive_is_damaged
            ? Archive("qvorinstall_3.tmp", {ZipEntry::FileWithCrc("QVorvane.exe", "c", 0x1234)})
            : PlatformArchive();

    EXPECT_EQ(Install("", archive, false), !archive_is_damaged);

    EXPECT_EQ(fs::exists(PlatformFolder() + "old_only.dll"), archive_is_damaged);
    EXPECT_EQ(fs::exists(PlatformFolder() + "QVorvane.exe"), !archive_is_damaged);
    EXPECT_FALSE(fs::exists(LocalData() + "app.previous"));
    EXPECT_FALSE(fs::exists(LocalData() + "app.staging"));
  }
}

TEST_F(InstallPackagesTest, OnlyAMissingOrEmptyPlatformFolderIsRestoredFromItsRetiredCopy) {
  WriteLocalFile("app.previous/stale.dll", "stale");
  EXPECT_FALSE(RestoreInterruptedSwap(W(PlatformFolder())));  // the live folder is there
  EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "old_only.dll"), "old library");

  fs::remove_all(PlatformFolder());
  fs::create_directories(PlatformFolder());  // an empty one gives way as well
  EXPECT_TRUE(RestoreInterruptedSwap(W(PlatformFolder())));
  EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "stale.dll"), "stale");
  EXPECT_FALSE(fs::exists(LocalData() + "app.previous"));
  EXPECT_FALSE(RestoreInterruptedSwap(W(PlatformFolder())));  // nothing left to restore
}

TEST_F(InstallPackagesTest, RuntimePluginReplacesItsFolderAndIsRecorded) {
  WriteLocalFile("plugin/air/stale.dll", "stale");
  SetGame("312", "");
  const std::string package =
      Archive("qvorairinstall_1.tmp", {ZipEntry::File("air/runtime.so", "runtime")});

  EXPECT_TRUE(Install(package, PlatformArchive(), true));

  EXPECT_EQ(test::ReadFileBytes(PluginFolder() + "air/runtime.so"), "runtime");
  EXPECT_FALSE(fs::exists(PluginFolder() + "stale.dll"));
  EXPECT_FALSE(fs::exists(package));
  EXPECT_EQ(test::ReadFileBytes(PlatformFolder() + "qvorvane.ini"),
            test::ProfileText("[General]\nair_ver=5\nu_air_state=3\nversion=3.2.1\nver=321\n"));
}

TEST_F(InstallPackagesTest, DamagedRuntimePluginIsNotRecordedAsInstalled) {
  SetGame("312", "");
  const std::string package = Archive(
      "qvorairinstall_1.tmp", {ZipEntry::FileWithCrc("air/runtime.so", "runtime", 1)});
  PackageInstallView view = View();
  EXPECT_FALSE(InstallSecondPackage(view, W(package)));
  EXPECT_FALSE(fs::exists(PlatformFolder() + "qvorvane.ini") &&
               test::ReadFileBytes(PlatformFolder() + "qvorvane.ini")->find("u_air_state") !=
                   std::string::npos);
  EXPECT_FALSE(fs::exists(package));
}

TEST_F(InstallPackagesTest, GamePackageIsKeptListedAndRecordedOnlyWhenItPassesItsCheck) {
  SetGame(kGameId, "Game");
  fs::create_directories(DownloadFolder());
  const std::string empty_list = "<?xml version=\"1.0\"?>\n<app_list />\n";
  root_.WriteFile(fs::relative(DownloadFolder() + "list.dat", root_.path()).string(), empty_list);
  const std::string kept_copy = DownloadFolder() + kGameId + "_1.0_5.dat";
  const std::string info =
      ChosenDataFolder() + test::OnThisSystem("install/plugin/" + std::string(kGameId) + "/info.ini");

  // Failing: the files stay where they were unpacked, but nothing vouches for them.
  std::string package = GamePackage(false);
  PackageInstallView view = View();
  EXPECT_FALSE(InstallSecondPackage(view, W(package)));
  EXPECT_EQ(test::ReadFileBytes(DownloadFolder() + "list.dat"), empty_list);
  EXPECT_FALSE(fs::exists(info));

  // Passing: the same version again replaces the kept copy and is listed and recorded.
  package = GamePackage(true);
  const auto package_bytes = test::ReadFileBytes(package);
  EXPECT_TRUE(InstallSecondPackage(view, W(package)));
  EXPECT_EQ(test::ReadFileBytes(kept_copy), package_bytes);
  EXPECT_FALSE(fs::exists(package));  // the download is not left in the temporary folder
  EXPECT_EQ(test::ReadFileBytes(GameFilesFolder() + kGameProgram), kGameProgramBytes);
  const std::string list = *test::ReadFileBytes(DownloadFolder() + "list.dat");
  EXPECT_NE(list.find("local_path=\"" + kept_copy + "\""), std::string::npos) << list;
  EXPECT_EQ(test::ReadFileBytes(info), test::ProfileText("[General]\nversion=1.0\nver_code=5\nstate=0\n"));
}

TEST_F(InstallPackagesTest, GamePackageWithAnIdThatIsNoPlainNameWritesNothing) {
  SetGame("../x", "Game");
  const std::string package = GamePackage(true);
  PackageInstallView view = View();
  EXPECT_FALSE(InstallSecondPackage(view, W(package)));
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + "x"));
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + "download"));
  EXPECT_EQ(steps_, "");
}

}  // namespace
}  // namespace qv::workflow
