// Whole runs of the installing task in virtual time against a loopback service: what the
// delegate hears, in order; the statistics reports; the files, registry values and shortcuts
// left behind; the processes closed; and the client it starts.
#include "workflow/tasks/run_installing_task.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "answer_script.h"
#include "common/ranged_file.h"
#include "fake_process_table.h"
#include "install_service.h"
#include "install_steps_machine.h"
#include "platform/clock.h"
#include "platform/known_folders.h"
#include "program_probe.h"
#include "util/language_id.h"
#include "util/text_conversion.h"
#include "virtual_clock.h"
#include "workflow/packages/install_packages.h"
#include "workflow/registration/registration_keys.h"
#include "zip_builders.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;
using qv::test::ZipEntry;

constexpr int64_t kStartTick = 1'000'000;
constexpr char kCode[] = "tov3_web";
constexpr char kGameProgram[] = "bin/game.exe";
constexpr char kGameProgramBytes[] = "game program";
// The Base64 text of the answer's default game name (PackageAnswer::game_name, 13 bytes).
constexpr char kGameNameBase64[] = "VGFsZXMgb2YgVmFsZQ==";

// The delegate's calls, one line each. A progress line holds the key, the state code and the
// change of the percentage since the previous report ("+5"; the first from the initial 2).
class RecordingDelegate final : public RunInstallingTask::Delegate {
 public:
  void OnProgress(const std::u16string& status_key, const int& state_code,
                  const int& percent) override {
    std::lock_guard lock(mutex_);
    lines_.push_back(util::WideToUtf8(status_key) + " " + std::to_string(state_code) + " +" +
                     std::to_string(percent - last_percent_));
    last_percent_ = percent;
  }
  bool OnPackageInfo(const GameInfo& game) override {
    std::lock_guard lock(mutex_);
    lines_.push_back("game " + FieldText(game.game_id));
    return false;
  }
  void OnPackageInfoFailed() override {
    std::lock_guard lock(mutex_);
    lines_.push_back("no game");
  }
  void OnInstallRecord(const InstallRecord& record) override {
    std::lock_guard lock(mutex_);
    lines_.push_back("record " + FieldText(record.version));
  }

  std::vector<std::string> lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  // The lines with each run of download steps ("Downloading... 0 +1" in a row) as one line, and
  // how many steps the longest such run had.
  std::vector<std::string> Shape(size_t* longest_download_run = nullptr) const {
    constexpr char kStep[] = "Downloading... 0 +1";
    std::vector<std::string> shape;
    size_t run = 0;
    size_t longest = 0;
    for (const std::string& line : lines()) {
      run = line == kStep ? run + 1 : 0;
      longest = std::max(longest, run);
      if (run > 1) continue;
      shape.push_back(line);
    }
    if (longest_download_run != nullptr) *longest_download_run = longest;
    return shape;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    last_percent_ = kInitialPercent;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  int last_percent_ = kInitialPercent;
};

// The waits of a budget spent from the first failure on: 20 ms each, 3000 ms after the 26th.
std::vector<int64_t> WholeBudgetOfWaits() {
  std::vector<int64_t> waits(kAttemptBudget, kRetryPauseMs);
  waits[kLongPauseAtAttempt] = kLongRetryPauseMs;
  return waits;
}

class RunInstallingTaskTest : public qv::test::InstallStepsMachineTest {
 protected:
  RunInstallingTaskTest() : clock_(kStartTick), clock_override_(clock_), service_(root_) {
    util::SetCurrentLanguageId("en-us");
    fs::create_directories(root_.temp_dir());
  }

  InstallingEnvironment Environment() {
    InstallingEnvironment environment;
    environment.endpoints = service_.Endpoints();
    environment.machine = context_.machine;
    environment.processes = &processes_;
    return environment;
  }

  bool Run(const std::string& code = kCode) {
    core::RefPtr<RunInstallingTask> task =
        core::MakeRef<RunInstallingTask>(code, &delegate_, Environment());
    return task->Run();
  }

  // A platform archive with the client (as the archive spells it) and its uninstaller.
  std::vector<ZipEntry> PlatformEntries(const std::string& client_bytes = "client") const {
    ZipEntry client = ZipEntry::File("QVorvane.exe", client_bytes);
    client.unix_mode = 0100755;
    return {client, ZipEntry::File("uninstall.exe", "uninstaller"),
            ZipEntry::File("lib/a.so", "a")};
  }
  std::vector<ZipEntry> GamePackageEntries(bool program_matches) const {
    const std::string digest = qv::test::Md5Of(program_matches ? kGameProgramBytes : "other bytes");
    return {ZipEntry::File(kGameProgram, kGameProgramBytes),
            ZipEntry::File("1001.xml", std::string("<root><items><item path=\"") + kGameProgram +
                                           "\" md5=\"" + digest + "\"/></items></root>")};
  }

  std::string PlatformFolder() const { return LocalData() + "app/"; }
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_.temp_dir())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  std::string StartMenuShortcut() const {
    return platform::StartMenuFolder() + qv::test::OnThisSystem("/Programs/QVorvane/QVorvane.lnk");
  }

  qv::test::VirtualClock clock_;
  platform::ScopedClockOverride clock_override_;
  qv::test::InstallService service_;
  qv::test::FakeProcessTable processes_;
  RecordingDelegate delegate_;
};

TEST_F(RunInstallingTaskTest, AnswerRefusedAtOnceEndsAfterOneQuery) {
  service_.server().Answer(qv::test::kPackageQueryPath, 200, R"({"code":1})");

  EXPECT_FALSE(Run());

  EXPECT_EQ(delegate_.lines(), (std::vector<std::string>{"Downloading... 0 +5", "no game",
                                                         "Failed... 0 +0"}));
  EXPECT_EQ(service_.Requests(qv::test::kPackageQueryPath), 1u);
  const auto query = service_.server().RequestsTo(qv::test::kPackageQueryPath)[0].query;
  EXPECT_EQ(query.find(std::string("code=") + kCode + "&lang=en-us&client_id="), 0u) << query;
  const auto reports = service_.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].at("op"), "1");
  EXPECT_EQ(reports[0].at("ex"), "");
  EXPECT_EQ(reports[0].count("d_tick"), 0u);
  EXPECT_EQ(reports[1].at("op"), "5");
  EXPECT_EQ(reports[1].at("ex"), "policy_failed");
  EXPECT_EQ(reports[1].at("d_tick"), std::to_string(kStartTick));
  EXPECT_EQ(reports[1].at("i_tick"), "0");
  EXPECT_TRUE(clock_.SleepDurations().empty());
  EXPECT_EQ(service_.Requests(service_.PlatformPath()), 0u);
  EXPECT_EQ(processes_.snapshots(), 0);
}

TEST_F(RunInstallingTaskTest, ServiceDownSpendsTheWholeBudgetOnTheQuery) {
  test::ScriptPath(service_.server(), qv::test::kPackageQueryPath, {test::Step::kUnreachable});

  EXPECT_FALSE(Run());

  EXPECT_EQ(service_.Requests(qv::test::kPackageQueryPath), 50u);
  EXPECT_EQ(clock_.SleepDurations(), WholeBudgetOfWaits());
  EXPECT_EQ(delegate_.lines(), (std::vector<std::string>{"Downloading... 0 +5", "no game",
                                                         "Failed... 100 +0"}));
  const auto reports = service_.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].at("op"), "1");
  EXPECT_EQ(reports[1].at("op"), "5");
  EXPECT_EQ(reports[1].at("ex"), "retry_timeout_policy_failed");
  EXPECT_EQ(reports[1].at("d_tick"), std::to_string(kStartTick + 49 * 20 + 3000));
}

TEST_F(RunInstallingTaskTest, FailedQueriesLeaveTheRestOfTheBudgetToTheDownloads) {
  std::vector<test::Step> steps(10, test::Step::kUnreachable);
  steps.push_back(test::Step::kAnswer);
  test::ScriptPath(service_.server(), qv::test::kPackageQueryPath, steps,
                   service_.AnswerJson(qv::test::PackageAnswer{}));
  test::ScriptPath(service_.server(), service_.PlatformPath(), {test::Step::kUnreachable});
  WriteLocalFile("app/old.dll", "old");

  EXPECT_FALSE(Run());

  EXPECT_EQ(service_.Requests(qv::test::kPackageQueryPath), 11u);
  EXPECT_EQ(service_.Requests(service_.PlatformPath()), 40u);
  EXPECT_EQ(service_.Requests(service_.PackagePath()), 0u);
  EXPECT_EQ(clock_.SleepDurations(), WholeBudgetOfWaits());
  EXPECT_EQ(delegate_.Shape(), (std::vector<std::string>{
                                   "Downloading... 0 +5", "record 3.2.1", "game 1001",
                                   "Downloading... 0 +1", "Failed... 100 +0"}));
  const auto reports = service_.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].at("op"), "1");
  EXPECT_EQ(reports[1].at("op"), "5");
  EXPECT_EQ(reports[1].at("ex"), "retry_timeout_dl_bag_failed");
  // The tick when the downloads began: the ten failed queries' waits after the start.
  EXPECT_EQ(reports[1].at("d_tick"), std::to_string(kStartTick + 10 * 20));
  EXPECT_EQ(qv::test::ReadFileBytes(PlatformFolder() + "old.dll"), "old");
  EXPECT_FALSE(KeyExists(RegistrationRoot(), kUninstallKey));
  EXPECT_FALSE(fs::exists(StartMenuShortcut()));
}

TEST_F(RunInstallingTaskTest, ExistingInstallationIsStartedWithoutDownloadingOrClosingAnything) {
  const std::string folder = root_.Path("opt/Client/");
  fs::create_directories(folder);
  qv::test::CopyProgramProbe(folder + "QVorvane.exe");
  root_.WriteFile("opt/Client/uninstall.exe", "uninstaller");
  SetValue(RegistryRoot::kCurrentUser, kUninstallKey, kInstallLocationValue, folder);
  SetValue(RegistryRoot::kCurrentUser, kAppPathsKey, "", folder + "QVORVANE.EXE");
  SetValue(RegistryRoot::kCurrentUser, kRunKey, "TOV3", "old client");
  processes_.Add(40, "QVorvane.exe");
  service_.AnswerWith(qv::test::PackageAnswer{});
  qv::test::ProbeReport probe(root_.Path("probe.fifo"));

  EXPECT_TRUE(Run());

  EXPECT_EQ(probe.Read(), qv::test::DetachedProbeReport(
                              root_.Path("opt/Client"),
                              {std::string("/startgame=") + kGameNameBase64, "/game_id=1001",
                               std::string("/flag=") + kCode, "/user_frome=3"}));
  EXPECT_EQ(delegate_.lines(),
            (std::vector<std::string>{"Downloading... 0 +5", "record 3.2.1", "game 1001",
                                      "Downloading... 0 +1", "Installing... 0 +99",
                                      "Installation completed. 0 +100"}));
  EXPECT_EQ(service_.Requests(service_.PlatformPath()), 0u);
  EXPECT_EQ(service_.Requests(service_.PackagePath()), 0u);
  EXPECT_EQ(processes_.snapshots(), 0);
  EXPECT_TRUE(processes_.terminated().empty());
  const auto reports = service_.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].at("op"), "2");
  EXPECT_EQ(reports[1].at("ex"), "old_user");
  EXPECT_EQ(reports[1].at("d_tick"), std::to_string(kStartTick));
  EXPECT_EQ(reports[1].at("i_tick"), "0");
  EXPECT_FALSE(Value(RegistryRoot::kCurrentUser, kRunKey, "TOV3"));
  EXPECT_TRUE(Value(RegistryRoot::kCurrentUser, kRunKey, kAutoStartValue));
  EXPECT_TRUE(fs::exists(StartMenuShortcut()));
  EXPECT_FALSE(fs::exists(PlatformFolder() + "QVorvane.exe"));
}

TEST_F(RunInstallingTaskTest, ClientLeftAsideByAnInterruptedReplacementIsPutBackAndStarted) {
  // The last run ended after moving the installed client aside and before moving a new one in.
  const std::string aside = LocalData() + "app.previous/";
  fs::create_directories(aside);
  qv::test::CopyProgramProbe(aside + "QVorvane.exe");
  WriteLocalFile("app.previous/uninstall.exe", "uninstaller");
  SetValue(RegistryRoot::kCurrentUser, kUninstallKey, kInstallLocationValue, PlatformFolder());
  SetValue(RegistryRoot::kCurrentUser, kAppPathsKey, "", PlatformFolder() + "QVORVANE.EXE");
  service_.AnswerWith(qv::test::PackageAnswer{});
  qv::test::ProbeReport probe(root_.Path("probe.fifo"));

  EXPECT_TRUE(Run());

  EXPECT_EQ(probe.Read().substr(0, 4 + PlatformFolder().size() - 1),
            "cwd=" + PlatformFolder().substr(0, PlatformFolder().size() - 1));
  EXPECT_EQ(service_.Requests(service_.PlatformPath()), 0u);
  EXPECT_EQ(qv::test::ReadFileBytes(PlatformFolder() + "uninstall.exe"), "uninstaller");
  EXPECT_FALSE(fs::exists(aside));
}

TEST_F(RunInstallingTaskTest, NewInstallationInstallsTheSecondPackageByItsKind) {
  enum class Served { kMatching, kWithoutDigest, kWrongDigest, kUnreachable };
  struct Case {
    const char* name;
    std::string game_id;
    std::vector<ZipEntry> package;
    Served served;
    int extracting_steps;   // the platform's three and the second package's
    size_t package_requests;
    std::string installed_file;  // empty: none
    bool recorded;               // u_air_state (plug-in) or info.ini (game package)
  };
  const std::vector<ZipEntry> plugin = {ZipEntry::File("air/runtime.so", "runtime")};
  const std::string plugin_file = LocalData() + "plugin/air/air/runtime.so";
  const std::string game_file = DriveD() + "QVorvane/install/plugin/1001/app/bin/game.exe";
  const Case cases[] = {
      {"runtime plug-in", "312", plugin, Served::kMatching, 4, 1, plugin_file, true},
      {"runtime plug-in without a digest", "312", plugin, Served::kWithoutDigest, 4, 1,
       plugin_file, true},
      {"game package that passes its file list", "1001", GamePackageEntries(true),
       Served::kMatching, 6, 1, game_file, true},
      {"game package that fails its file list", "1001", GamePackageEntries(false),
       Served::kMatching, 4, 1, game_file, false},
      {"plug-in whose digest never matches", "312", plugin, Served::kWrongDigest, 3, 50, "",
       false},
      {"plug-in that cannot be reached", "312", plugin, Served::kUnreachable, 3, 50, "",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    service_.ServePlatform(PlatformEntries());
    const std::string package = service_.ServePackage(c.package);
    if (c.served == Served::kUnreachable) {
      test::ScriptPath(service_.server(), service_.PackagePath(), {test::Step::kUnreachable});
    }
    qv::test::PackageAnswer answer;
    answer.game_id = c.game_id;
    answer.md5 = c.served == Served::kWithoutDigest ? ""
                 : c.served == Served::kWrongDigest ? qv::test::Md5Of("something else")
                                                    : qv::test::Md5Of(package);
    service_.AnswerWith(answer);
    fs::remove_all(LocalData());
    fs::remove_all(DriveD() + "QVorvane");
    const std::vector<std::string> temp_files_before = TempFiles();
    const size_t package_requests_before = service_.Requests(service_.PackagePath());
    const size_t reports_before = service_.Reports().size();
    delegate_.Clear();
    clock_.ClearSleeps();

    EXPECT_TRUE(Run());

    const bool budget_spent = c.served == Served::kWrongDigest || c.served == Served::kUnreachable;
    size_t download_steps = 0;
    std::vector<std::string> expected = {"Downloading... 0 +5", "record 3.2.1",
                                         "game " + c.game_id, "Downloading... 0 +1"};
    // The report after the downloads carries the plug-in's last transfer result.
    if (c.served == Served::kUnreachable) expected.push_back("Downloading... 3 +1");
    expected.insert(expected.end(), c.extracting_steps, "Extracting... 0 +1");
    expected.insert(expected.end(), 3, "Installing... 0 +1");
    expected.push_back("Installing... 0 +99");
    expected.push_back("Installation completed. 0 +100");
    EXPECT_EQ(delegate_.Shape(&download_steps), expected);
    // After the answer, the two before the downloads, at least one per download with a body.
    EXPECT_GE(download_steps, c.served == Served::kUnreachable ? 4u : budget_spent ? 5u : 6u);
    EXPECT_EQ(service_.Requests(service_.PackagePath()) - package_requests_before,
              c.package_requests);
    std::vector<int64_t> waits = budget_spent ? WholeBudgetOfWaits() : std::vector<int64_t>{};
    waits.push_back(kRegistrationPauseMs);
    EXPECT_EQ(clock_.SleepDurations(), waits);

    const auto reports = service_.Reports();
    ASSERT_EQ(reports.size(), reports_before + 2);
    EXPECT_EQ(reports[reports_before].at("op"), "1");
    const auto& installed = reports[reports_before + 1];
    EXPECT_EQ(installed.at("op"), "2");
    EXPECT_EQ(installed.at("ex"), "");
    EXPECT_EQ(installed.at("d_tick"), budget_spent ? std::to_string(49 * 20 + 3000) : "0");
    EXPECT_EQ(installed.at("i_tick"), std::to_string(kRegistrationPauseMs));

    EXPECT_EQ(qv::test::ReadFileBytes(PlatformFolder() + "lib/a.so"), "a");
    if (!c.installed_file.empty()) {
      EXPECT_TRUE(fs::exists(c.installed_file));
    }
    const std::string platform_record = *qv::test::ReadFileBytes(PlatformFolder() + "qvorvane.ini");
    const bool plugin_recorded = platform_record.find("u_air_state=3") != std::string::npos;
    const bool game_recorded =
        fs::exists(DriveD() + "QVorvane/install/plugin/" + c.game_id + "/info.ini");
    EXPECT_EQ(c.game_id == "312" ? plugin_recorded : game_recorded, c.recorded);
    EXPECT_TRUE(Value(RegistrationRoot(), kUninstallKey, kInstallLocationValue));
    EXPECT_TRUE(fs::exists(StartMenuShortcut()));
    // Neither the platform archive nor the second package stays behind, whatever became of it
    // (a game package lives on as its copy in the download folder).
    EXPECT_EQ(TempFiles(), temp_files_before);
  }
}

TEST_F(RunInstallingTaskTest, NewInstallationStartsTheUnpackedClientWhateverItsLetterCase) {
  service_.ServePlatform(PlatformEntries(*qv::test::ReadFileBytes(qv::test::ProgramProbePath())));
  qv::test::PackageAnswer answer;
  answer.with_package = false;
  service_.AnswerWith(answer);
  qv::test::ProbeReport probe(root_.Path("probe.fifo"));

  EXPECT_TRUE(Run(""));

  EXPECT_EQ(probe.Read(),
            qv::test::DetachedProbeReport(LocalData() + "app", {std::string("/startgame=") +
                                                                    kGameNameBase64,
                                                                "/game_id=1001", "/user_frome=3"}));
  EXPECT_EQ(delegate_.lines().back(), "Installation completed. 0 +100");
}

TEST_F(RunInstallingTaskTest, DamagedPlatformArchiveKeepsTheOldPlatformAndFails) {
  WriteLocalFile("app/old.dll", "old");
  service_.ServePlatform({ZipEntry::File("QVorvane.exe", "client"),
                          ZipEntry::FileWithCrc("lib/a.so", "a", 0x1234)});
  qv::test::PackageAnswer answer;
  answer.with_package = false;
  service_.AnswerWith(answer);

  EXPECT_FALSE(Run());

  EXPECT_EQ(delegate_.Shape(), (std::vector<std::string>{
                                   "Downloading... 0 +5", "record 3.2.1", "game 1001",
                                   "Downloading... 0 +1", "Extracting... 0 +1",
                                   "Extracting... 0 +1", "Failed... 6 +0"}));
  const auto reports = service_.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].at("op"), "5");
  EXPECT_EQ(reports[1].at("ex"), kExtractFailedReportText);
  EXPECT_EQ(qv::test::ReadFileBytes(PlatformFolder() + "old.dll"), "old");
  EXPECT_FALSE(fs::exists(PlatformFolder() + "QVorvane.exe"));
  EXPECT_FALSE(KeyExists(RegistrationRoot(), kUninstallKey));
  EXPECT_FALSE(Value(RegistryRoot::kCurrentUser, kRunKey, kAutoStartValue));
  EXPECT_FALSE(fs::exists(StartMenuShortcut()));
}

TEST_F(RunInstallingTaskTest, RunningClientProcessesAreClosedBeforeTheDownloads) {
  struct Process {
    pid_t pid;
    const char* name;
    bool stubborn;
  };
  struct Case {
    const char* name;
    std::vector<Process> running;
    std::vector<pid_t> terminated;
    size_t pauses;  // of 1000 ms
  };
  std::vector<pid_t> sixty_times(kMaxProcessClosingPasses, 7);
  const Case cases[] = {
      {"none running", {{5, "other.exe", false}, {6, "qvorvane.exe", false}}, {}, 0},
      {"two that end",
       {{5, "other.exe", false}, {6, "qvorhall.exe", false}, {7, "QVorExternal.exe", false}},
       {6, 7},
       1},
      {"one that never ends", {{7, "QVorvaneHelper.exe", true}}, sixty_times, 60},
  };
  service_.ServePlatform(PlatformEntries());
  qv::test::PackageAnswer answer;
  answer.with_package = false;
  service_.AnswerWith(answer);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(LocalData());  // no installation of the case before
    qv::test::FakeProcessTable table;
    for (const Process& process : c.running) table.Add(process.pid, process.name, process.stubborn);
    clock_.ClearSleeps();
    InstallingEnvironment environment = Environment();
    environment.processes = &table;

    EXPECT_TRUE(core::MakeRef<RunInstallingTask>(kCode, nullptr, environment)->Run());

    EXPECT_EQ(table.terminated(), c.terminated);
    std::vector<int64_t> expected(c.pauses, kProcessClosingPauseMs);
    expected.push_back(kRegistrationPauseMs);
    EXPECT_EQ(clock_.SleepDurations(), expected);
  }
}

TEST_F(RunInstallingTaskTest, StopDuringADownloadEndsTheRunAtOnceWithoutFurtherReports) {
  service_.server().Stall(service_.PlatformPath());
  service_.AnswerWith(qv::test::PackageAnswer{});
  core::RefPtr<RunInstallingTask> task =
      core::MakeRef<RunInstallingTask>(kCode, &delegate_, Environment());
  bool result = true;
  std::thread worker([&] { result = task->Run(); });
  while (service_.Requests(service_.PlatformPath()) == 0) std::this_thread::yield();

  task->SetState(core::MsgTask::kStateStopRequested);
  worker.join();

  EXPECT_FALSE(result);
  EXPECT_EQ(delegate_.Shape(), (std::vector<std::string>{"Downloading... 0 +5", "record 3.2.1",
                                                         "game 1001", "Downloading... 0 +1"}));
  EXPECT_EQ(service_.Requests(service_.PlatformPath()), 1u);
  EXPECT_EQ(service_.Reports().size(), 1u);
  EXPECT_TRUE(clock_.SleepDurations().empty());
}

// Both downloads dropped half-way on their first answer: each is continued where it stopped,
// the budget counts the drops as the failed attempts they are, and the run installs the
// server's exact bytes and leaves nothing in the temporary folder. The plug-in's continuation
// comes from a server that changed the bytes under the same validator: the join fails its
// digest, is thrown away, and the next attempt fetches the whole package again.
TEST_F(RunInstallingTaskTest, DroppedDownloadsAreContinuedAndABadJoinIsNeverInstalled) {
  const std::string platform = service_.ServePlatform(PlatformEntries("client bytes"));
  const std::string package =
      service_.ServePackage({ZipEntry::File("air/runtime.so", std::string(4000, 'r'))});
  const auto bytes_of = [](const std::string& bytes) {
    return [bytes](uint64_t offset, size_t size) { return bytes.substr(offset, size); };
  };
  tools::ServeRanged(service_.server(), service_.PlatformPath(),
                     tools::RangedFile{platform.size(), bytes_of(platform), "\"p\"", "", true},
                     {tools::RangedPacing{platform.size() / 2}});
  std::string changed = package;
  for (size_t i = package.size() / 2; i < package.size(); ++i) changed[i] ^= 0x5a;
  int package_answers = 0;
  service_.server().Handle(service_.PackagePath(), [&](const httplib::Request& request,
                                                       httplib::Response& response) {
    const int answer = package_answers++;
    const bool first = answer == 0;
    tools::AnswerRanged(
        service_.server(), request, response,
        tools::RangedFile{package.size(), bytes_of(answer == 1 ? changed : package), "\"a\"", "",
                          true},
        first ? tools::RangedPacing{package.size() / 2} : tools::RangedPacing{});
  });
  qv::test::PackageAnswer answer;
  answer.game_id = "312";
  answer.md5 = qv::test::Md5Of(package);
  service_.AnswerWith(answer);

  EXPECT_TRUE(Run());

  const auto ranges = [&](const std::string& path) {
    std::vector<std::string> asked;
    for (const auto& request : service_.server().RequestsTo(path)) {
      asked.push_back(request.Header("Range"));
    }
    return asked;
  };
  const std::string platform_rest = "bytes=" + std::to_string(platform.size() / 2) + "-";
  const std::string package_rest = "bytes=" + std::to_string(package.size() / 2) + "-";
  EXPECT_EQ(ranges(service_.PlatformPath()), (std::vector<std::string>{"", platform_rest}));
  EXPECT_EQ(ranges(service_.PackagePath()), (std::vector<std::string>{"", package_rest, ""}));
  // Three failed attempts: the platform's drop, the plug-in's drop, the plug-in's bad join.
  EXPECT_EQ(clock_.SleepDurations(),
            (std::vector<int64_t>{kRetryPauseMs, kRetryPauseMs, kRetryPauseMs,
                                  kRegistrationPauseMs}));
  EXPECT_EQ(qv::test::ReadFileBytes(PlatformFolder() + "QVorvane.exe"), "client bytes");
  EXPECT_EQ(qv::test::ReadFileBytes(LocalData() + "plugin/air/air/runtime.so"),
            std::string(4000, 'r'));
  EXPECT_TRUE(TempFiles().empty());
}

// A partial download of a URL this run does not fetch is removed once the answer is known.
TEST_F(RunInstallingTaskTest, PartialDownloadsOfOtherUrlsAreRemoved) {
  service_.ServePlatform(PlatformEntries());
  qv::test::PackageAnswer answer;
  answer.with_package = false;
  service_.AnswerWith(answer);
  root_.WriteFile("tmp/qvordl_0123456789abcdef.part", "old archive");
  root_.WriteFile("tmp/qvordl_0123456789abcdef.part.rec", "url=old\n");
  root_.WriteFile("tmp/unrelated.part", "not ours");

  EXPECT_TRUE(Run());

  EXPECT_EQ(TempFiles(), std::vector<std::string>{"unrelated.part"});
}

}  // namespace
}  // namespace qv::workflow
