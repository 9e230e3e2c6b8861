// Faults injected into whole runs of the real installer: the demo service's fault scenarios, a
// full disk (a file-size limit), a power cut at a chosen rename (strace kills the installer
// there), two installers started at once, and hostile values in the registry and the package
// answer. Each case checks the run's defined outcome and that nothing was lost or written where
// it does not belong.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "demo_service_process.h"
#include "end_to_end_test.h"
#include "file_size_limit.h"
#include "platform/atomic_file.h"
#include "platform/registry.h"
#include "platform/registry_file_format.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

constexpr char kStrace[] = "/usr/bin/strace";
constexpr char kRenameCalls[] = "rename,renameat,renameat2";
constexpr char kClient[] = "QVorvane.exe";

// The bound of every wait here only keeps a broken run from hanging the suite.
constexpr seconds kRunLimit{90};

class FaultInjectionTest : public EndToEndTest {
 protected:
  std::vector<std::string> Operations() const {
    return OperationsOf(ReadStatisticsReports(machine_.statistics_log()));
  }

  // A failed run keeps its window up showing "Failed..." until the user closes it. Once the
  // service has `reports` reports in all, the run is over; the installer is then ended as a
  // log-out would (SIGTERM), which it takes as an orderly end.
  void RunUntilFailure(size_t reports, std::unique_ptr<ChildProcess> installer) {
    ASSERT_TRUE(installer->started());
    EXPECT_TRUE(WaitForReports(reports)) << "operations seen: " << Joined(Operations());
    installer->Kill(SIGTERM);
    EXPECT_EQ(installer->WaitFor(kRunLimit), std::optional<int>(0));
  }

  // The installer under strace, killed as its `n`th rename naming `path` starts: a power cut at
  // that moment, repeatable. (strace 6.1 matches renameat2 by either name, rename by its source
  // name only: a record file is cut through its temporary file's name.)
  std::unique_ptr<ChildProcess> StartKilledAtRename(const std::string& path, int n) {
    return std::make_unique<ChildProcess>(std::vector<std::string>{
        kStrace, "-f", "-o", "/dev/null", "-P", path, "-e",
        std::string("inject=") + kRenameCalls + ":signal=SIGKILL:when=" + std::to_string(n),
        machine_.program()});
  }

  // A first installation with the runtime plug-in; its client has started.
  void InstallOnce() {
    ASSERT_TRUE(machine_.StartService("plugin-312"));
    ASSERT_EQ(machine_.RunInstaller(RunAs::kSelf, kRunLimit), std::optional<int>(0));
    ASSERT_TRUE(WaitForLaunches(1));
  }

  // The client's App Paths entry, which marks it as installed, goes missing (a cleaned
  // registry, a profile copied from elsewhere): the next run installs the platform again over
  // the old folder.
  void ForgetRegistration() const {
    const platform::RegistryStore& registry = platform::CurrentRegistry();
    registry.DeleteKey(platform::RegistryRoot::kLocalMachine, kAppPathsKey);
    registry.DeleteKey(platform::RegistryRoot::kCurrentUser, kAppPathsKey);
    ASSERT_EQ(LocalMachineHive(root_).FindKey(kAppPathsKey), nullptr);
    ASSERT_EQ(CurrentUserHive(root_).FindKey(kAppPathsKey), nullptr);
  }

  // The demo client records each start in launch.txt; it runs apart from the installer.
  bool WaitForLaunches(size_t count) const {
    const auto end = std::chrono::steady_clock::now() + kRunLimit;
    while (std::chrono::steady_clock::now() < end) {
      if (ReadLaunchRecords(LaunchRecordPath()).size() >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // Every file below `folder` (relative to the root, with its trailing '/') and its bytes.
  std::map<std::string, std::string> FilesIn(const std::string& folder) const {
    const std::string prefix = fs::relative(folder, root_.path()).string() + "/";
    std::map<std::string, std::string> files;
    for (const std::string& file : FilesBelow(root_)) {
      if (file.rfind(prefix, 0) == 0) files[file] = ReadFileBytes(root_.Path(file)).value_or("?");
    }
    return files;
  }

  bool Exists(const std::string& path) const { return fs::exists(fs::symlink_status(path)); }

  static std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += item + " ";
    return text;
  }
};

// --- Network faults ----------------------------------------------------------------------

TEST_F(FaultInjectionTest, DownloadsDroppedHalfWayAreRetriedAndTheInstallationCompletes) {
  // The platform archive and the plug-in package stop half-way three times each.
  ASSERT_TRUE(machine_.StartService("dropped-downloads"));
  ASSERT_EQ(machine_.RunInstaller(RunAs::kSelf, kRunLimit), std::optional<int>(0));

  ASSERT_TRUE(WaitForLaunches(1));
  EXPECT_EQ(Operations(), (std::vector<std::string>{"1/", "2/"}));
  EXPECT_EQ(ReadLaunchRecords(LaunchRecordPath()).size(), 1u);
  const platform::RegistryHive machine = LocalMachineHive(root_);
  EXPECT_EQ(RegistryString(machine, kAppPathsKey, ""), machine_.PlatformFolder() + "QVORVANE.EXE");
  EXPECT_EQ(RegistryString(machine, kUninstallKey, "InstallLocation"), machine_.PlatformFolder());
  const std::string record = machine_.PlatformFolder() + "qvorvane.ini";
  EXPECT_EQ(IniValue(record, "General", "air_ver"), "27");  // the plug-in arrived whole
  EXPECT_EQ(IniValue(record, "General", "u_air_state"), "3");
  EXPECT_EQ(IniValue(record, "General", "ver"), "45");
  // The game bag is fetched once only; its dropped download leaves no record behind, so the
  // next run fetches it again.
  EXPECT_FALSE(Exists(root_.data_home() + "/Qvorvane/gamebag/312/cfg.ini"));
}

struct RefusedAnswerCase {
  const char* scenario;
  const char* outcome;  // the final statistics report
};

void PrintTo(const RefusedAnswerCase& c, std::ostream* os) { *os << c.scenario; }

class RefusedAnswerTest : public FaultInjectionTest,
                          public testing::WithParamInterface<RefusedAnswerCase> {};

TEST_P(RefusedAnswerTest, NothingIsInstalledAndTheFailureIsReported) {
  ASSERT_TRUE(machine_.StartService(GetParam().scenario));
  RunUntilFailure(2, machine_.StartInstaller());

  EXPECT_EQ(Operations(), (std::vector<std::string>{"1/", GetParam().outcome}));
  ExpectNothingInstalled();
  EXPECT_TRUE(ReadLaunchRecords(LaunchRecordPath()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RefusedAnswerTest,
    testing::Values(
        // Answers that are no valid document are a refusal: one query, no retry.
        RefusedAnswerCase{"garbage-answer", "5/policy_failed"},
        RefusedAnswerCase{"truncated-answer", "5/policy_failed"},
        // Transfers that cannot succeed use up the attempt budget (about 4 s in all).
        RefusedAnswerCase{"redirect-loop", "5/retry_timeout_policy_failed"},
        RefusedAnswerCase{"wrong-host-certificate", "5/retry_timeout_policy_failed"}),
    [](const testing::TestParamInfo<RefusedAnswerCase>& param_info) {
      std::string name = param_info.param.scenario;
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

// --- Full disk and power cuts ------------------------------------------------------------

TEST_F(FaultInjectionTest, DiskFullDuringThePlatformExtractionKeepsTheOldClient) {
  InstallOnce();
  ForgetRegistration();
  const auto old_client = FilesIn(machine_.PlatformFolder());
  uintmax_t largest_file = 0;
  for (const auto& file : fs::directory_iterator(machine_.PlatformFolder())) {
    if (file.is_regular_file()) largest_file = std::max(largest_file, file.file_size());
  }
  // Every download fits below the limit; the largest file of the unpacked platform does not.
  for (const auto& archive : fs::recursive_directory_iterator(DemoContentFolder())) {
    if (archive.is_regular_file() && archive.path().extension() == ".zip") {
      ASSERT_LT(archive.file_size(), largest_file - 1) << archive.path();
    }
  }

  std::unique_ptr<ChildProcess> installer;
  {
    const FileSizeLimit full_disk(largest_file - 1);  // the installer inherits it
    installer = machine_.StartInstaller();
  }
  RunUntilFailure(4, std::move(installer));

  EXPECT_EQ(Operations(), (std::vector<std::string>{"1/", "2/", "1/", "5/extract_failed"}));
  EXPECT_EQ(FilesIn(machine_.PlatformFolder()), old_client);
  EXPECT_FALSE(Exists(root_.data_home() + "/Qvorvane/app.staging"));
  EXPECT_FALSE(Exists(root_.data_home() + "/Qvorvane/app.previous"));
  EXPECT_EQ(LocalMachineHive(root_).FindKey(kAppPathsKey), nullptr);  // nothing registered
}

TEST_F(FaultInjectionTest, PowerCutBetweenTheRenamesOfTheClientSwapLosesNoClient) {
  InstallOnce();
  ForgetRegistration();
  const std::string live = root_.data_home() + "/Qvorvane/app";
  const auto old_client = FilesIn(machine_.PlatformFolder());

  // Second rename naming the platform folder: the old client has been moved aside, the new one
  // not yet moved in.
  std::unique_ptr<ChildProcess> installer = StartKilledAtRename(live, 2);
  ASSERT_TRUE(installer->started());
  EXPECT_EQ(installer->WaitFor(kRunLimit), std::optional<int>(-1)) << "not killed?";
  EXPECT_FALSE(Exists(live));
  EXPECT_TRUE(Exists(live + ".previous/" + kClient));

  // The next run fails (a damaged archive) and still leaves the old client where it was.
  ASSERT_TRUE(machine_.StartService("damaged-archive"));
  RunUntilFailure(5, machine_.StartInstaller());
  EXPECT_EQ(Operations(),
            (std::vector<std::string>{"1/", "2/", "1/", "1/", "5/extract_failed"}));
  EXPECT_EQ(FilesIn(machine_.PlatformFolder()), old_client);
  EXPECT_FALSE(Exists(live + ".previous"));
}

// A record file is replaced whole by a rename onto it. The installer is killed at its 1st, 2nd,
// ... rename onto the file, one run after another in the same home, until a run gets through:
// after every kill the file is whole, and the run that gets through leaves a complete
// installation. Long: one installer run per write (about 1 s each).
struct RecordFileCase {
  const char* name;
  std::string (*path)(const TempRoot& root);
  bool (*is_whole)(const std::string& text);
};

bool RegistryFileIsWhole(const std::string& text) {
  platform::RegistryHive hive;
  return platform::ParseRegistryFile(text, "HKEY_CURRENT_USER", hive);
}

bool MachineRegistryFileIsWhole(const std::string& text) {
  platform::RegistryHive hive;
  return platform::ParseRegistryFile(text, "HKEY_LOCAL_MACHINE", hive);
}

// Every line of the ini file is complete: a section, or a key and its value.
bool IniFileIsWhole(const std::string& text) {
  if (text.empty() || text.back() != '\n') return false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    if (!(line.size() > 2 && line.front() == '[' && line.back() == ']') &&
        line.find('=') == std::string::npos) {
      return false;
    }
    start = end + 1;
  }
  return true;
}

void PrintTo(const RecordFileCase& c, std::ostream* os) { *os << c.name; }

class PowerCutTest : public FaultInjectionTest,
                     public testing::WithParamInterface<RecordFileCase> {};

TEST_P(PowerCutTest, EveryWriteCutShortLeavesTheFileWholeAndALaterRunCompletes) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  const std::string file = GetParam().path(root_);
  int killed = 0;
  for (int n = 1; n <= 64; ++n) {
    SCOPED_TRACE("killed at its rename " + std::to_string(n));
    std::unique_ptr<ChildProcess> installer =
        StartKilledAtRename(platform::AtomicFileTempPath(file), n);
    ASSERT_TRUE(installer->started());
    const std::optional<int> code = installer->WaitFor(kRunLimit);
    ASSERT_TRUE(code.has_value());
    if (const std::optional<std::string> text = ReadFileBytes(file)) {
      EXPECT_TRUE(GetParam().is_whole(*text)) << *text;
    }
    for (const auto& entry : fs::directory_iterator(fs::path(file).parent_path())) {
      EXPECT_EQ(entry.path().filename().string().find(".damaged-"), std::string::npos);
    }
    if (*code != -1) {
      EXPECT_EQ(*code, 0);
      break;  // the run got through: fewer than n renames onto the file
    }
    ++killed;
  }
  EXPECT_GT(killed, 0);
  RecordProperty("runs_cut_short", killed);
  ASSERT_TRUE(WaitForLaunches(1));
  ExpectPlugin312Installed(LocalMachineHive(root_));  // run as root: registered machine-wide
}

INSTANTIATE_TEST_SUITE_P(
    RecordFiles, PowerCutTest,
    testing::Values(
        RecordFileCase{"machine_registry_store",
                       [](const TempRoot& root) {
                         return root.machine_root() + "/registry/HKEY_LOCAL_MACHINE.reg";
                       },
                       MachineRegistryFileIsWhole},
        RecordFileCase{"user_registry_store",
                       [](const TempRoot& root) {
                         return root.config_home() + "/qvorvane-registry/HKEY_CURRENT_USER.reg";
                       },
                       RegistryFileIsWhole},
        RecordFileCase{"platform_record",
                       [](const TempRoot& root) {
                         return root.data_home() + "/Qvorvane/app/qvorvane.ini";
                       },
                       IniFileIsWhole}),
    [](const testing::TestParamInfo<RecordFileCase>& param_info) { return param_info.param.name; });

TEST_F(FaultInjectionTest, FailingSyncOfTheMachineRegistryWritesNothingHalfAndRegistersPerUser) {
  // Every fsync of the machine root's new file fails (EIO): none of its writes may take effect.
  const std::string machine_file = root_.machine_root() + "/registry/HKEY_LOCAL_MACHINE.reg";
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  ChildProcess installer({kStrace, "-f", "-o", "/dev/null", "-P",
                          platform::AtomicFileTempPath(machine_file), "-e",
                          "inject=fsync,fdatasync:error=EIO", machine_.program()});
  ASSERT_TRUE(installer.started());
  EXPECT_EQ(installer.WaitFor(kRunLimit), std::optional<int>(0));

  ASSERT_TRUE(WaitForLaunches(1));
  EXPECT_FALSE(Exists(machine_file));
  EXPECT_FALSE(Exists(platform::AtomicFileTempPath(machine_file)));
  // The machine root counts as not writable: the client is registered for the user.
  ExpectPlugin312Installed(CurrentUserHive(root_));
}

// --- Two installers, hostile values -------------------------------------------------------

TEST_F(FaultInjectionTest, TwoInstallersStartedAtOnceInstallOnce) {
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  std::unique_ptr<ChildProcess> first = machine_.StartInstaller();
  std::unique_ptr<ChildProcess> second = machine_.StartInstaller();
  ASSERT_TRUE(first->started());
  ASSERT_TRUE(second->started());

  // One hands over to the other and ends at once; the other installs and ends.
  EXPECT_EQ(first->WaitFor(kRunLimit), std::optional<int>(0));
  EXPECT_EQ(second->WaitFor(kRunLimit), std::optional<int>(0));

  ASSERT_TRUE(WaitForLaunches(1));
  EXPECT_EQ(Operations(), (std::vector<std::string>{"1/", "2/"}));
  ExpectPlugin312Installed(LocalMachineHive(root_));  // once: one launch
}

TEST_F(FaultInjectionTest, OldClientPathNamingTheHomeFolderRemovesNothingThere) {
  // An old client "installed" straight into the home folder: its folder is the home itself.
  root_.WriteFile("home/Documents/letter.txt", "dear");
  root_.WriteFile("home/tov3.exe", "old client");
  platform::RegistryKey key;
  ASSERT_EQ(platform::CurrentRegistry().CreateKey(platform::RegistryRoot::kCurrentUser,
                                                  "SOFTWARE\\TOV3", platform::key_access::kAll,
                                                  key),
            platform::RegistryStatus::kOk);
  ASSERT_EQ(key.SetStringValue("tov3path", root_.home() + "/tov3.exe"),
            platform::RegistryStatus::kOk);
  key.Close();
  const auto home_before = FilesIn(root_.home() + "/Documents/");

  ASSERT_TRUE(machine_.StartService("plugin-312"));
  ASSERT_EQ(machine_.RunInstaller(RunAs::kSelf, kRunLimit), std::optional<int>(0));

  ASSERT_TRUE(WaitForLaunches(1));
  EXPECT_EQ(FilesIn(root_.home() + "/Documents/"), home_before);
  EXPECT_EQ(ReadFileBytes(root_.home() + "/tov3.exe"), "old client");
  EXPECT_TRUE(Exists(machine_.PlatformFolder() + kClient));
  EXPECT_FALSE(RegistryString(CurrentUserHive(root_), "SOFTWARE\\TOV3", "tov3path").has_value());
}

TEST_F(FaultInjectionTest, GameIdThatClimbsOutOfItsFolderNeverBecomesAPath) {
  // The plug-in answer with the game id "../../x" in both places that carry it.
  std::string answer = ReadFileBytes(DemoScenarioPath("plugin-312")).value_or("");
  const std::string from = "\"game_id\": \"312\"";
  const std::string to = "\"game_id\": \"../../x\"";
  int replaced = 0;
  for (size_t at = 0; (at = answer.find(from, at)) != std::string::npos; at += to.size()) {
    answer.replace(at, from.size(), to);
    ++replaced;
  }
  ASSERT_EQ(replaced, 2);
  const std::string scenario = root_.WriteFile("service/climbing-game-id.json", answer);
  ASSERT_TRUE(machine_.StartService(scenario));
  ASSERT_EQ(machine_.RunInstaller(RunAs::kSelf, kRunLimit), std::optional<int>(0));

  ASSERT_TRUE(WaitForLaunches(1));
  EXPECT_NE(ReadLaunchRecords(LaunchRecordPath())[0].arguments.find("/game_id=../../x"),
            std::string::npos);
  for (const std::string& file : FilesBelow(root_)) {
    const fs::path path(file);
    EXPECT_NE(path.filename(), "x") << file;
    EXPECT_NE(path.parent_path().filename(), "x") << file;
  }
  EXPECT_EQ(Operations(), (std::vector<std::string>{"1/", "2/"}));
}

}  // namespace
}  // namespace qv::test
