// The real installer against the demo platform service, end to end: what a run leaves in the
// files, the registry store, the statistics service and the client's launch record.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "child_process.h"
#include "run_command.h"
#include "end_to_end_test.h"
#include "xvfb_display.h"

namespace qv::test {
namespace {

using ::testing::ElementsAre;

class InstallerRunTest : public EndToEndTest {};

TEST_F(InstallerRunTest, FreshInstallAsRootRegistersMachineWideAndStartsTheClient) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);

  ExpectPlugin312Installed(LocalMachineHive(root_));
  // The machine-wide entries are not duplicated for the user.
  EXPECT_EQ(CurrentUserHive(root_).FindKey(kUninstallKey), nullptr);
  const auto reports = ReadStatisticsReports(machine_.statistics_log());
  EXPECT_THAT(OperationsOf(reports), ElementsAre("1/", "2/"));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].at("gf"), "312");
  EXPECT_EQ(reports[1].at("cv"), "3.2.1.45");
  EXPECT_EQ(reports[1].count("d_tick"), 1u);
  EXPECT_EQ(reports[0].count("d_tick"), 0u);
}

// What a Linux desktop reads after a default installation: every entry valid, the link handler
// the default for the platform's links, and a link opened the desktop's way starts the client
// with it.
TEST_F(InstallerRunTest, FreshInstallIsSeenAndUsedByTheDesktopsOwnTools) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  ASSERT_EQ(machine_.RunInstaller(), 0);

  const std::string record = root_.data_home() + "/Qvorvane/desktop-files.txt";
  std::vector<std::string> made;
  std::istringstream lines(ReadFileBytes(record).value_or(""));
  for (std::string line; std::getline(lines, line);) made.push_back(line);
  for (const std::string& entry :
       {root_.data_home() + "/applications/com.qvorvane.Client.desktop",
        root_.data_home() + "/applications/com.qvorvane.ClientLink.desktop",
        root_.home() + "/Desktop/QVorvane.desktop",
        root_.home() + "/Desktop/Tides of Valoria III.desktop",
        root_.config_home() + "/autostart/com.qvorvane.Client.desktop",
        root_.data_home() + "/icons/hicolor/48x48/apps/com.qvorvane.Client.png"}) {
    EXPECT_NE(std::find(made.begin(), made.end(), entry), made.end()) << entry;
  }
  for (const std::string& file : made) {
    EXPECT_TRUE(std::filesystem::exists(file)) << file;
    if (!file.ends_with(".desktop")) continue;
    const CommandResult validation = RunCommand({"desktop-file-validate", file});
    EXPECT_EQ(validation.exit_code, 0) << file << "\n" << validation.output;
  }

  const CommandResult query =
      RunCommand({"xdg-mime", "query", "default", "x-scheme-handler/qvorvane"});
  EXPECT_EQ(query.output, "com.qvorvane.ClientLink.desktop\n");
  // As in a desktop session, which always has a display (xdg-open looks up scheme handlers only
  // then).
  XvfbDisplay display;
  ASSERT_TRUE(display.started());
  const CommandResult open =
      RunCommand({"env", "DISPLAY=" + display.name(), "xdg-open", "qvorvane://game/312"});
  EXPECT_EQ(open.exit_code, 0) << open.output;
  std::vector<LaunchRecord> launches;
  for (int i = 0; i < 200 && launches.size() < 2; ++i) {  // a bound for a broken run
    launches = ReadLaunchRecords(LaunchRecordPath());
    if (launches.size() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(launches.size(), 2u);
  // (xdg-open's own launcher runs the entry in its caller's folder; Path= is honoured by the
  // desktops' launchers, see the gio launch test of the entries.)
  EXPECT_EQ(launches[1].arguments, "qvorvane://game/312");
}

TEST_F(InstallerRunTest, FreshInstallAsAnUnprivilegedUserRegistersForTheUserOnly) {
  if (geteuid() != 0) GTEST_SKIP() << "running as nobody needs root";
  std::string why_not;
  if (!EndToEndMachine::NobodyReachesTheCa(why_not)) GTEST_SKIP() << why_not;
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(RunAs::kNobody), 0);

  ExpectPlugin312Installed(CurrentUserHive(root_));
  EXPECT_EQ(LocalMachineHive(root_).keys().size(), 0u);
  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "2/"));
}

TEST_F(InstallerRunTest, SecondRunFindsTheInstallationAndOnlyStartsIt) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  ASSERT_EQ(machine_.RunInstaller(), 0);
  const auto files_after_first = FilesBelow(root_);

  EXPECT_EQ(machine_.RunInstaller(), 0);
  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "2/", "1/", "2/old_user"));
  // Nothing new was downloaded or unpacked; the client was started a second time, alike.
  EXPECT_EQ(FilesBelow(root_), files_after_first);
  ExpectPlugin312StartedTwice(LaunchRecordPath());
}

// Browsers name a repeated download "tov3_web (1).run" or "tov3_web(2).run": both still install
// and start the package "tov3_web".
TEST_F(InstallerRunTest, RenamedRepeatedDownloadsInstallTheirPackage) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  machine_.RenameInstaller("tov3_web (1).run");
  ASSERT_EQ(machine_.RunInstaller(), 0);
  ExpectPlugin312Installed(LocalMachineHive(root_));

  machine_.RenameInstaller("tov3_web(2).run");
  ASSERT_EQ(machine_.RunInstaller(), 0);
  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "2/", "1/", "2/old_user"));
  const auto launches = ReadLaunchRecords(LaunchRecordPath());
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1].arguments, kPlugin312Launch);
}

// A game name one character longer than its 63-byte field loses that character whole: the
// game list, the game's shortcut and the client's launch line carry the 62 bytes before it.
TEST_F(InstallerRunTest, GameNameCutToItsFieldKeepsWholeCharacters) {
  const std::string name = "Tides of Valoria III - Chronicles of the Seven Tides and Isles";
  ASSERT_TRUE(machine_.StartService("long-game-name"));
  ASSERT_EQ(machine_.RunInstaller(), 0);
  const std::string data = root_.data_home() + "/Qvorvane/";
  EXPECT_EQ(IniValue(data + "gamebag/games.ini", "General", "312"), name);
  EXPECT_TRUE(std::filesystem::exists(root_.home() + "/Desktop/" + name + ".lnk"));
  const auto launches = ReadLaunchRecords(LaunchRecordPath());
  ASSERT_EQ(launches.size(), 1u);
  // The encoded name breaks its line after 72 characters; the launch record shows the break
  // escaped.
  EXPECT_EQ(launches[0].arguments,
            "/startgame=VGlkZXMgb2YgVmFsb3JpYSBJSUkgLSBDaHJvbmljbGVzIG9mIHRoZSBTZXZlbiBUaWRlcyBh"
            "\\r\\nbmQgSXNsZXM= /game_id=312 /flag=tov3_web /user_frome=3");
}

// Started where no window can be made, the installer says why on standard error and ends with 0
// before anything is chosen, written or reported.
TEST_F(InstallerRunTest, NoDisplayEndsWithZeroAndSaysWhy) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  const auto files_before = FilesBelow(root_);
  struct Case {
    const char* qpa_platform;  // null: not set
    const char* display;
    const char* expected;      // a part of the line on standard error
  };
  const Case cases[] = {
      {nullptr, nullptr, "DISPLAY is not set"},
      {nullptr, ":93", "cannot open display :93"},  // no X server of that number
      {"xcb", nullptr, "DISPLAY is not set"},
      {"wayland", nullptr, "WAYLAND_DISPLAY is not set"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    c.qpa_platform ? setenv("QT_QPA_PLATFORM", c.qpa_platform, 1) : unsetenv("QT_QPA_PLATFORM");
    c.display ? setenv("DISPLAY", c.display, 1) : unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    // Standard error goes to the pipe the test reads.
    ChildProcess installer({"/bin/sh", "-c", "exec \"$0\" 2>&1", machine_.program()});
    ASSERT_TRUE(installer.started());
    std::vector<std::string> lines;
    while (auto line = installer.ReadLine()) lines.push_back(*line);
    EXPECT_EQ(installer.Wait(), 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0], ::testing::HasSubstr(c.expected));
    EXPECT_THAT(lines[0], ::testing::StartsWith(machine_.program() + ": "));
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EXPECT_EQ(FilesBelow(root_), files_before);
  EXPECT_TRUE(ReadStatisticsReports(machine_.statistics_log()).empty());
}

// A refused package stays on "Failed..." until the user closes the installer: nothing is
// downloaded, installed or started.
TEST_F(InstallerRunTest, RefusedPackageInstallsNothing) {
  ASSERT_TRUE(machine_.StartService("refused"));
  auto installer = machine_.StartInstaller();
  ASSERT_TRUE(installer->started());
  ASSERT_TRUE(WaitForReports(2));
  EXPECT_EQ(installer->WaitFor(std::chrono::seconds(2)), std::nullopt);  // still showing it
  installer->Kill(SIGTERM);
  EXPECT_EQ(installer->Wait(), 0);

  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "5/policy_failed"));
  ExpectNothingInstalled();
}

// A failed installation is over: closing its window (the close button, clicked on a virtual X
// display) ends the installer with 0 after the close's statistics event, so it can be started
// again.
TEST_F(InstallerRunTest, ClosingAFailedInstallationEndsTheInstaller) {
  XvfbDisplay display;
  ASSERT_TRUE(display.started());
  machine_.UseDisplay(display.name());
  ASSERT_TRUE(machine_.StartService("refused"));
  auto installer = machine_.StartInstaller();
  ASSERT_TRUE(installer->started());
  ASSERT_TRUE(WaitForReports(2));

  // The close button's centre in the main window: the progress window's inset (13 px) plus the
  // button's centre in it (543, 16).
  constexpr int kCloseX = 13 + 543;
  constexpr int kCloseY = 13 + 16;
  std::optional<int> exit_code;
  for (int i = 0; i < 40 && !exit_code; ++i) {
    display.ClickInWindow("QVorvaneDownloader", kCloseX, kCloseY);
    exit_code = installer->WaitFor(std::chrono::milliseconds(500));
  }
  EXPECT_EQ(exit_code, 0);
  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "5/policy_failed", "12/btn_close"));
  ExpectNothingInstalled();
}

// Without Internet the attempts run out: the no-connection box is shown, and once the user
// answers it (Return on its default button) the installer ends with 0 having installed nothing.
// This run shows real windows on a virtual X display, where a key can be pressed.
TEST_F(InstallerRunTest, NoInternetEndsWhenTheNoConnectionBoxIsAnswered) {
  XvfbDisplay display;
  ASSERT_TRUE(display.started());
  machine_.UseDisplay(display.name());
  ASSERT_TRUE(machine_.StartService("no-internet"));
  auto installer = machine_.StartInstaller();
  ASSERT_TRUE(installer->started());
  ASSERT_TRUE(WaitForReports(2));
  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "5/retry_timeout_policy_failed"));
  EXPECT_EQ(installer->WaitFor(std::chrono::seconds(2)), std::nullopt);  // the box waits

  // The box takes the focus when it shows; until the key reaches it, press again.
  std::optional<int> exit_code;
  for (int i = 0; i < 40 && !exit_code; ++i) {
    EXPECT_TRUE(display.PressKey("Return"));
    exit_code = installer->WaitFor(std::chrono::milliseconds(500));
  }
  EXPECT_EQ(exit_code, 0);

  ExpectNothingInstalled();
}

// A platform archive that does not unpack leaves the client already in the platform folder as
// it was, registers nothing and starts nothing.
TEST_F(InstallerRunTest, DamagedPlatformArchiveKeepsTheOldClient) {
  const std::string old_client =
      root_.WriteFile("home/.local/share/Qvorvane/app/QVorvane.exe", "the old client");
  ASSERT_TRUE(machine_.StartService("damaged-archive"));
  auto installer = machine_.StartInstaller();
  ASSERT_TRUE(installer->started());
  ASSERT_TRUE(WaitForReports(2));
  EXPECT_EQ(installer->WaitFor(std::chrono::seconds(2)), std::nullopt);  // shows "Failed..."
  installer->Kill(SIGTERM);
  EXPECT_EQ(installer->Wait(), 0);

  const auto reports = ReadStatisticsReports(machine_.statistics_log());
  EXPECT_THAT(OperationsOf(reports), ElementsAre("1/", "5/extract_failed"));
  EXPECT_EQ(ReadFileBytes(old_client), "the old client");
  EXPECT_EQ(LocalMachineHive(root_).FindKey(kUninstallKey), nullptr);
  EXPECT_EQ(CurrentUserHive(root_).FindKey(kUninstallKey), nullptr);
  EXPECT_EQ(CurrentUserHive(root_).FindKey(kRunKey), nullptr);
  EXPECT_TRUE(ReadLaunchRecords(LaunchRecordPath()).empty());
}

// A stand-in for a running client: a shell under the client's image name, copied into `folder`
// once, started by this test's user or by "nobody". Its first line says it runs.
std::unique_ptr<ChildProcess> StartRunningClient(const std::string& folder, RunAs who) {
  const std::string client = folder + "/QVorvane.exe";
  std::error_code error;
  if (!std::filesystem::exists(client, error)) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file("/bin/dash", client);
    chmod(folder.c_str(), 0755);
  }
  std::vector<std::string> line;
  if (who == RunAs::kNobody) {
    line = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
  }
  line.insert(line.end(), {client, "-c", "echo running; while :; do sleep 1; done"});
  auto process = std::make_unique<ChildProcess>(line);
  EXPECT_EQ(process->ReadLine(), "running");
  return process;
}

// A running client is closed before the new platform is installed, but only the installing
// user's own: another user's client, with the same image name, keeps running.
TEST_F(InstallerRunTest, FreshInstallClosesOnlyTheUsersOwnRunningClient) {
  if (geteuid() != 0) GTEST_SKIP() << "another user's process needs root";
  chmod(root_.path().c_str(), 0755);
  auto own = StartRunningClient(root_.Path("running"), RunAs::kSelf);
  auto others = StartRunningClient(root_.Path("running"), RunAs::kNobody);

  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);

  EXPECT_EQ(own->WaitFor(std::chrono::seconds(30)), -1);
  EXPECT_EQ(others->WaitFor(std::chrono::milliseconds(0)), std::nullopt);
  ExpectPlugin312Installed(LocalMachineHive(root_));
}

// A client of the same user that runs outside this run (another session's, a demo's) is not
// the run's to close: the run's processes do not see it.
class InstallerBesideAnotherClientTest : public EndToEndTest {
 protected:
  void SetUp() override {
    // Started before the test's namespaces exist, as a process elsewhere on the machine.
    neighbour_ = StartRunningClient(root_.Path("elsewhere"), RunAs::kSelf);
    EndToEndTest::SetUp();
  }

  std::unique_ptr<ChildProcess> neighbour_;
};

TEST_F(InstallerBesideAnotherClientTest, FreshInstallLeavesAClientOutsideTheRunRunning) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);

  EXPECT_EQ(neighbour_->WaitFor(std::chrono::milliseconds(0)), std::nullopt);
  ExpectPlugin312Installed(LocalMachineHive(root_));
}

// A second start while the first installs hands over to the first and ends; the first
// installs once, completely.
TEST_F(InstallerRunTest, SecondInstanceHandsOverWhileTheFirstInstalls) {
  ASSERT_TRUE(machine_.StartService("slow-download"));
  auto first = machine_.StartInstaller();
  ASSERT_TRUE(first->started());
  ASSERT_TRUE(WaitForReports(1));  // past its start-up, downloading

  EXPECT_EQ(machine_.RunInstaller(RunAs::kSelf, std::chrono::seconds(30)), 0);
  EXPECT_EQ(first->WaitFor(std::chrono::seconds(180)), 0);

  ExpectPlugin312Installed(LocalMachineHive(root_));
  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "2/"));
}

// An installer killed half-way through the platform download leaves no record behind that the
// next run trips over: that run installs completely and every record reads whole.
TEST_F(InstallerRunTest, RunAfterAKillInTheMiddleOfTheDownloadCompletes) {
  ASSERT_TRUE(machine_.StartService("slow-download"));
  auto killed = machine_.StartInstaller();
  ASSERT_TRUE(killed->started());
  ASSERT_TRUE(WaitForPartialPlatformDownload());
  killed->Kill(SIGKILL);
  EXPECT_EQ(killed->Wait(), -1);

  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);
  ExpectPlugin312Installed(LocalMachineHive(root_));
  EXPECT_THAT(OperationsOf(ReadStatisticsReports(machine_.statistics_log())),
              ElementsAre("1/", "1/", "2/"));
}

}  // namespace
}  // namespace qv::test
