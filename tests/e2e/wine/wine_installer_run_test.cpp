// The real Windows installer under Wine against the demo platform service, end to end: what a
// run leaves in the prefix's registry, its shortcuts and files, at the statistics service and in
// the demo client's launch record, compared with what the Linux runs expect where the systems
// agree (plugin312_records.h).
//
// Each test has a fresh prefix in its temporary root, a virtual X display (the Windows program
// has no offscreen mode) and the namespaces of run_space.h, so tests run in parallel on the
// fixed ports built into the installer.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "child_process.h"
#include "installation_readback.h"
#include "own_process_space.h"
#include "plugin312_records.h"
#include "registration_keys.h"
#include "run_space.h"
#include "run_waits.h"
#include "temp_root.h"
#include "wine_machine.h"
#include "xvfb_display.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr char kMainWindowTitle[] = "QVorvaneDownloader";

// A fresh prefix with its own display, inside the run's namespaces.
class WineRunTest : public TempRootTest {
 protected:
  void SetUp() override {
    EnterRunSpace(root_, WineMachine::PkiFolder(), process_space_);
    if (IsSkipped() || HasFatalFailure()) return;
    display_ = std::make_unique<XvfbDisplay>();
    ASSERT_TRUE(display_->started());
    machine_.UseDisplay(display_->name());
    ASSERT_TRUE(machine_.MakePrefix());
  }

  std::vector<std::string> Operations() const {
    return OperationsOf(ReadStatisticsReports(machine_.statistics_log()));
  }

  // Declared first: the namespace's processes end after the machine and the display have gone.
  OwnProcessSpace process_space_;
  std::unique_ptr<XvfbDisplay> display_;
  WineMachine machine_{root_};
};

// The machinery itself, with the Windows demo client (a real Windows program): the prefix, its
// font replacements, the registry read back as stored and the client's launch record.
TEST_F(WineRunTest, PrefixRunsTheDemoClientAndReadsBackWhatWasStored) {
  EXPECT_EQ(machine_.RegistryString("HKCU\\Software\\Wine\\Fonts\\Replacements", "Microsoft YaHei"),
            "WenQuanYi Micro Hei");
  const std::string desktop = machine_.Files(machine_.UserFolder() + "Desktop");
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(desktop))) << desktop;

  // Data with spaces inside and at its end, as the start-up entry has, comes back whole.
  const std::string data = "\"C:\\x y\\qvorvane.exe\"   /auto_start=1 ";
  ASSERT_EQ(machine_.StartProgram({"reg", "add", "HKCU\\Software\\QvReadBack", "/v", "run",
                                   "/d", data, "/f"})
                ->Wait(),
            0);
  EXPECT_EQ(machine_.RegistryString("HKCU\\Software\\QvReadBack", "run"), data);
  EXPECT_EQ(machine_.RegistryString("HKCU\\Software\\QvReadBack", "missing"), std::nullopt);
  EXPECT_EQ(machine_.RegistryString("HKCU\\Software\\QvNoSuchKey", ""), std::nullopt);

  const std::string client = machine_.Files(machine_.PlatformFolder()) + "QVorvane.exe";
  fs::create_directories(fs::path(client).parent_path());
  fs::copy_file(QV_WINDOWS_DEMO_CLIENT_PATH, client);
  auto started = machine_.StartProgram({machine_.PlatformFolder() + "QVorvane.exe", "/startgame=VGlkZXMgb2YgVmFsb3JpYSBJSUk=",
                                        "/game_id=312", "/flag=tov3_web", "/user_frome=3"});
  EXPECT_EQ(started->WaitFor(std::chrono::seconds(60)), 0);
  const auto launches =
      ReadLaunchRecords(machine_.Files(machine_.PlatformFolder()) + "launch.txt");
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].program, machine_.PlatformFolder() + "QVorvane.exe");
  EXPECT_EQ(launches[0].arguments, kPlugin312Launch);
}

// The runs of the installer itself; they skip while the Windows demo build has none.
class WineInstallerTest : public WineRunTest {
 protected:
  void SetUp() override {
    std::string why_not;
    if (!WineMachine::InstallerBuilt(why_not)) GTEST_SKIP() << why_not;
    WineRunTest::SetUp();
  }

  void ExpectPlugin312Installed() {
    ExpectPlugin312Records(machine_.Installed());
    // The machine-wide entries are not duplicated for the user.
    EXPECT_FALSE(machine_.RegistryKeyExists(std::string("HKCU\\") + kUninstallKey));
    // The shortcuts, as the shell saved them, start the installed client.
    const std::string client = machine_.PlatformFolder() + "QVorvane.exe";
    const std::string user = machine_.UserFolder();
    for (const std::string& link :
         {user + "Desktop\\QVorvane.lnk", user + "Desktop\\Tides of Valoria III.lnk",
          user + "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\QVorvane\\"
                 "QVorvane.lnk"}) {
      EXPECT_EQ(WineMachine::ShortcutField(machine_.Files(link), "Local path"), client) << link;
    }
    EXPECT_TRUE(fs::exists(machine_.Files(machine_.UserFolder() +
                                          "AppData\\Local\\Qvorvane\\gamebag\\312\\icon.ico")));
  }

  // No file in the platform folder (the run makes the folder itself at start), no registration.
  void ExpectNothingInstalled() {
    std::error_code error;
    for (const auto& entry :
         fs::recursive_directory_iterator(machine_.Files(machine_.PlatformFolder()), error)) {
      EXPECT_FALSE(entry.is_regular_file()) << entry.path();
    }
    for (const std::string root : {"HKLM\\", "HKCU\\"}) {
      EXPECT_FALSE(machine_.RegistryKeyExists(root + kUninstallKey)) << root;
      EXPECT_FALSE(machine_.RegistryKeyExists(root + kAppPathsKey)) << root;
    }
    EXPECT_FALSE(machine_.RegistryKeyExists("HKCU\\Software\\Classes\\QVorvane"));
    EXPECT_EQ(machine_.RegistryString(std::string("HKCU\\") + kRunKey, "qvorvane"), std::nullopt);
  }

  std::string LaunchRecordPath() const {
    return machine_.Files(machine_.PlatformFolder()) + "launch.txt";
  }
};

TEST_F(WineInstallerTest, FreshInstallRegistersAndStartsTheClient) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);

  ExpectPlugin312Installed();
  const auto reports = ReadStatisticsReports(machine_.statistics_log());
  EXPECT_THAT(OperationsOf(reports), ElementsAre("1/", "2/"));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].at("gf"), "312");
  EXPECT_EQ(reports[1].at("cv"), "3.2.1.45");
}

TEST_F(WineInstallerTest, SecondRunFindsTheInstallationAndOnlyStartsIt) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  ASSERT_EQ(machine_.RunInstaller(), 0);

  EXPECT_EQ(machine_.RunInstaller(), 0);
  EXPECT_THAT(Operations(), ElementsAre("1/", "2/", "1/", "2/old_user"));
  ExpectPlugin312StartedTwice(LaunchRecordPath());
}

// A refused package stays on "Failed..." until the user closes the installer: nothing is
// downloaded, installed or started.
TEST_F(WineInstallerTest, RefusedPackageInstallsNothing) {
  ASSERT_TRUE(machine_.StartService("refused"));
  auto installer = machine_.StartInstaller();
  ASSERT_TRUE(installer->started());
  ASSERT_TRUE(WaitForReports(machine_.statistics_log(), 2));
  EXPECT_EQ(installer->WaitFor(std::chrono::seconds(2)), std::nullopt);  // still showing it
  EXPECT_TRUE(display_->ShowsWindow(kMainWindowTitle));
  installer->Kill(SIGKILL);
  installer->Wait();

  EXPECT_THAT(Operations(), ElementsAre("1/", "5/policy_failed"));
  ExpectNothingInstalled();
}

// Without Internet the attempts run out and the no-connection box shows; once it is answered
// (Return on its default button) the installer ends with 0 having installed nothing.
TEST_F(WineInstallerTest, NoInternetEndsWhenTheNoConnectionBoxIsAnswered) {
  ASSERT_TRUE(machine_.StartService("no-internet"));
  auto installer = machine_.StartInstaller();
  ASSERT_TRUE(installer->started());
  ASSERT_TRUE(WaitForReports(machine_.statistics_log(), 2));
  EXPECT_THAT(Operations(), ElementsAre("1/", "5/retry_timeout_policy_failed"));
  EXPECT_EQ(installer->WaitFor(std::chrono::seconds(2)), std::nullopt);  // the box waits

  std::optional<int> exit_code;
  for (int i = 0; i < 40 && !exit_code; ++i) {
    EXPECT_TRUE(display_->PressKey("Return"));
    exit_code = installer->WaitFor(std::chrono::milliseconds(500));
  }
  EXPECT_EQ(exit_code, 0);
  ExpectNothingInstalled();
}

// A platform archive that does not unpack leaves the client already in the platform folder as
// it was, registers nothing and starts nothing.
TEST_F(WineInstallerTest, DamagedPlatformArchiveKeepsTheOldClient) {
  const std::string old_client = machine_.Files(machine_.PlatformFolder()) + "QVorvane.exe";
  fs::create_directories(fs::path(old_client).parent_path());
  root_.WriteFile(fs::relative(old_client, root_.path()).string(), "the old client");
  ASSERT_TRUE(machine_.StartService("damaged-archive"));
  auto installer = machine_.StartInstaller();
  ASSERT_TRUE(installer->started());
  ASSERT_TRUE(WaitForReports(machine_.statistics_log(), 2));
  EXPECT_EQ(installer->WaitFor(std::chrono::seconds(2)), std::nullopt);  // shows "Failed..."
  installer->Kill(SIGKILL);
  installer->Wait();

  EXPECT_THAT(Operations(), ElementsAre("1/", "5/extract_failed"));
  EXPECT_EQ(ReadFileBytes(old_client), "the old client");
  for (const std::string root : {"HKLM\\", "HKCU\\"}) {
    EXPECT_FALSE(machine_.RegistryKeyExists(root + kUninstallKey)) << root;
  }
  EXPECT_EQ(machine_.RegistryString(std::string("HKCU\\") + kRunKey, "qvorvane"), std::nullopt);
  EXPECT_TRUE(ReadLaunchRecords(LaunchRecordPath()).empty());
}

// A second start while the first installs hands its start over to the running instance's main
// window (WM_COPYDATA) and ends with 0; the first shows its windows and installs once,
// completely.
TEST_F(WineInstallerTest, SecondInstanceHandsOverWhileTheFirstInstalls) {
  ASSERT_TRUE(machine_.StartService("slow-download"));
  auto first = machine_.StartInstaller();
  ASSERT_TRUE(first->started());
  ASSERT_TRUE(WaitForReports(machine_.statistics_log(), 1));  // past its start-up, downloading

  EXPECT_EQ(machine_.RunInstaller(std::chrono::seconds(30)), 0);
  EXPECT_TRUE(display_->ShowsWindow(kMainWindowTitle));
  EXPECT_EQ(first->WaitFor(std::chrono::seconds(180)), 0);

  ExpectPlugin312Installed();
  EXPECT_THAT(Operations(), ElementsAre("1/", "2/"));
}

// An installer killed half-way through the platform download leaves nothing the next run trips
// over: that run installs completely and every record reads whole.
TEST_F(WineInstallerTest, RunAfterAKillInTheMiddleOfTheDownloadCompletes) {
  ASSERT_TRUE(machine_.StartService("slow-download"));
  auto killed = machine_.StartInstaller();
  ASSERT_TRUE(killed->started());
  ASSERT_TRUE(WaitForPartialPlatformDownload(machine_.TempFiles()));
  killed->Kill(SIGKILL);
  EXPECT_EQ(killed->Wait(), -1);

  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);
  ExpectPlugin312Installed();
  EXPECT_THAT(Operations(), ElementsAre("1/", "1/", "2/"));
}

}  // namespace
}  // namespace qv::test
