// The install controller with real loops, a real installing task and network check against a
// loopback service, in virtual time, and a recording stand-in for the two windows.
#include "controller/message_context_delegate_downloader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "answer_script.h"
#include "controller/progress_status.h"
#include "controller/window_messages.h"
#include "core/thread_base.h"
#include "fake_process_table.h"
#include "install_service.h"
#include "install_steps_machine.h"
#include "platform/clock.h"
#include "test_ui_thread.h"
#include "util/language_id.h"
#include "util/text_conversion.h"
#include "virtual_clock.h"
#include "workflow/records/game_bag_record.h"
#include "workflow/tasks/status_keys.h"

namespace qv::controller {
namespace {

namespace fs = std::filesystem;
using test::ZipEntry;

// The windows as the controller sees them. Each call writes its data under the window's lock
// and then posts the message to the UI thread, whose handler reads the data back, as the real
// windows do. `calls` is the worker side in order; `handled` what the UI thread saw per message.
class RecordingWindows final : public InstallerWindows {
 public:
  explicit RecordingWindows(core::UiDispatcher& ui) : ui_(ui) {}

  bool HasProgressWindow() const override { return has_progress_window; }

  void ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) override {
    Write("game " + workflow::FieldText(game.game_id) + " fetch " + std::to_string(fetch_bag),
          [&] { game_ = game; });
    Post([this, fetch_bag] {
      return std::to_string(WM_APPLY_GAME_INFO) + " fetch " + std::to_string(fetch_bag) +
             " game " + workflow::FieldText(game_.game_id) + " record " +
             workflow::FieldText(record_.version);
    });
  }
  void ShowDefaultHeader() override {
    Write("default header", [] {});
    Post([] { return std::to_string(WM_DEFAULT_HEADER); });
  }
  void StoreInstallRecord(const workflow::InstallRecord& record) override {
    Write("record " + workflow::FieldText(record.version), [&] { record_ = record; });
  }
  void UpdateStatus(std::u16string_view key, int state_code, int percent) override {
    Write("status " + util::WideToUtf8(key) + " " + std::to_string(state_code) + " " +
              std::to_string(percent),
          [&] { status_.Update(key, state_code, percent); });
    Post([this] {
      return std::to_string(WM_START_REFRESH) + " " + util::WideToUtf8(status_.key) + " " +
             std::to_string(status_.percent);
    });
  }
  void ReportNoConnection() override {
    Write("no connection", [] {});
    Post([] { return std::to_string(WM_NO_CONNECTION); });
  }

  std::vector<std::string> calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  std::vector<std::string> handled() const {
    std::lock_guard lock(mutex_);
    return handled_;
  }
  ProgressStatus status() const {
    std::lock_guard lock(mutex_);
    return status_;
  }
  // Blocks until a call beginning with `prefix` was made (the limit only guards against a
  // broken run; it is not a timing policy).
  bool AwaitCallStartingWith(const std::string& prefix) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(60), [&] {
      return std::any_of(calls_.begin(), calls_.end(), [&](const std::string& call) {
        return call.rfind(prefix, 0) == 0;
      });
    });
  }

  std::atomic<bool> has_progress_window{true};

 private:
  template <typename Change>
  void Write(std::string call, Change change) {
    std::lock_guard lock(mutex_);
    change();
    calls_.push_back(std::move(call));
    changed_.notify_all();
  }
  template <typename Read>
  void Post(Read read) {
    ui_.Post([this, read] {
      std::lock_guard lock(mutex_);
      handled_.push_back(read());
    });
  }

  core::UiDispatcher& ui_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> calls_;    // guarded by mutex_
  std::vector<std::string> handled_;  // guarded by mutex_
  workflow::GameInfo game_;           // guarded by mutex_
  workflow::InstallRecord record_;    // guarded by mutex_
  ProgressStatus status_;             // guarded by mutex_
};

class ControllerTest : public test::InstallStepsMachineTest {
 protected:
  ControllerTest() : clock_override_(clock_), service_(root_) {
    util::SetCurrentLanguageId("en-us");
    fs::create_directories(root_.temp_dir());
    // The network check waits on a probe that never answers unless a test says otherwise.
    service_.server().Stall(test::kProbePath);
  }
  ~ControllerTest() override {
    controller_.reset();
    core::ThreadBase::WaitUntilNoLiveThreads();
    ui_.Flush();  // the windows' messages still queued read the windows, which go next
  }

  ControllerSetup MakeSetup() {
    ControllerSetup setup;
    setup.loops = loops_.get();
    setup.installing.endpoints = service_.Endpoints();
    setup.installing.machine = context_.machine;
    setup.installing.processes = &processes_;
    setup.program_name = u"tov3_web";
    return setup;
  }
  void Start(ControllerSetup setup) {
    controller_ = std::make_unique<MessageContextDelegateDownloader>(std::move(setup));
    ASSERT_TRUE(controller_->Start(&windows_, ui_));
  }
  // Starts with a package query that never answers, so only the test's own calls reach the
  // windows besides the first status.
  void StartIdle() {
    service_.server().Stall(test::kPackageQueryPath);
    Start(MakeSetup());
    ASSERT_TRUE(windows_.AwaitCallStartingWith("status Downloading... 0 7"));
  }
  std::vector<std::string> CallsAfterStart() const {
    std::vector<std::string> calls = windows_.calls();
    calls.erase(calls.begin());
    return calls;
  }

  test::VirtualClock clock_;
  platform::ScopedClockOverride clock_override_;
  test::InstallService service_;
  test::FakeProcessTable processes_;
  core::RefPtr<core::MessageLoopContext> loops_ = core::MakeRef<core::MessageLoopContext>();
  core::test::TestUiThread ui_;
  RecordingWindows windows_{ui_};
  std::unique_ptr<MessageContextDelegateDownloader> controller_;
};

TEST_F(ControllerTest, WholeRunReachesTheWindowsDataBeforeEachMessage) {
  service_.ServePlatform({ZipEntry::File("QVorvane.exe", "client")});
  test::PackageAnswer answer;
  answer.with_package = false;
  service_.AnswerWith(answer);

  Start(MakeSetup());
  ASSERT_TRUE(windows_.AwaitCallStartingWith("status Installation completed. 0 "));
  controller_->Stop();
  ui_.Flush();

  const std::vector<std::string> calls = windows_.calls();
  ASSERT_GE(calls.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 4),
            (std::vector<std::string>{"status Downloading... 0 7", "record 3.2.1",
                                      "game 1001 fetch 1", "status Downloading... 0 8"}));
  EXPECT_EQ(windows_.status().percent, kProgressFull);
  EXPECT_EQ(windows_.status().key, workflow::kStatusCompleted);
  const auto queries = service_.server().RequestsTo(test::kPackageQueryPath);
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].query.rfind("code=tov3_web&lang=en-us&client_id=", 0), 0u);

  // The game's message found the game and the record in place; the last refresh shows the end.
  const std::vector<std::string> handled = windows_.handled();
  EXPECT_NE(std::find(handled.begin(), handled.end(), "3024 fetch 1 game 1001 record 3.2.1"),
            handled.end());
  ASSERT_FALSE(handled.empty());
  EXPECT_EQ(handled.back(), "3026 Installation completed. 100");
}

TEST_F(ControllerTest, GameBagIsFetchedWhenItsRecordedVersionDiffers) {
  StartIdle();
  const struct {
    const char* game_id;
    int recorded;  // -1: no cfg.ini
    uint8_t answer;
    const char* call;
  } cases[] = {
      {"g1", 3, 3, "game g1 fetch 0"},
      {"g2", 2, 3, "game g2 fetch 1"},
      {"g3", -1, 3, "game g3 fetch 1"},
      {"g4", -1, 0, "game g4 fetch 0"},
      // An id that is no file name never reaches a path: version 0 whatever lies there.
      {"..", 3, 3, "game .. fetch 1"},
  };
  const std::u16string bag_folder = folders_.GameBagFolder();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.game_id);
    if (c.recorded >= 0) {
      const std::string folder = util::WideToUtf8(bag_folder) + c.game_id + "/";
      root_.WriteFile(fs::relative(folder + "cfg.ini", root_.path()).string(),
                      "[main]\nver=" + std::to_string(c.recorded) + "\n");
    }
    workflow::GameInfo game;
    SetText(game.game_id, c.game_id);
    game.ver = c.answer;
    EXPECT_TRUE(controller_->OnPackageInfo(game));
    EXPECT_EQ(windows_.calls().back(), c.call);
  }
}

TEST_F(ControllerTest, ProgressShowsAtMost98UntilCompletion) {
  StartIdle();
  const struct {
    std::u16string key;
    int percent;
    int shown;
  } cases[] = {
      {u"Downloading...", 50, 50},
      {u"Installing...", 100, kProgressCap},
      {u"Installing...", 207, kProgressCap},
      {u"Failed...", 150, kProgressCap},
      {u"Installation completed.", 307, kProgressFull},
  };
  for (const auto& c : cases) {
    controller_->OnProgress(c.key, 0, c.percent);
    EXPECT_EQ(windows_.status().percent, c.shown) << util::WideToUtf8(c.key) << " " << c.percent;
    EXPECT_EQ(windows_.status().key, c.key);
  }
}

TEST_F(ControllerTest, EventsWithoutAProgressWindowOrAfterStopAreDropped) {
  StartIdle();
  workflow::GameInfo game;
  SetText(game.game_id, "g1");
  const auto send_every_event = [&] {
    controller_->OnProgress(u"Installing...", 0, 50);
    EXPECT_TRUE(controller_->OnPackageInfo(game));
    controller_->OnPackageInfoFailed();
    controller_->OnInstallRecord(workflow::InstallRecord());
    controller_->OnNoConnection();
  };

  windows_.has_progress_window = false;
  send_every_event();
  EXPECT_EQ(CallsAfterStart(), std::vector<std::string>{});

  windows_.has_progress_window = true;
  send_every_event();
  EXPECT_EQ(CallsAfterStart(),
            (std::vector<std::string>{"status Installing... 0 50", "game g1 fetch 0",
                                      "default header", "record ", "no connection"}));

  controller_->Stop();
  send_every_event();
  EXPECT_EQ(CallsAfterStart().size(), 5u);
}

TEST_F(ControllerTest, StopDuringADownloadEndsPromptlyAndFreesEveryLoopAndTask) {
  service_.server().Stall(service_.PlatformPath());
  test::PackageAnswer answer;
  answer.with_package = false;
  service_.AnswerWith(answer);
  Start(MakeSetup());
  while (service_.Requests(service_.PlatformPath()) == 0) std::this_thread::yield();

  controller_->Stop();

  // Both workers ended inside the stop (none was abandoned), so the transfer was cancelled.
  EXPECT_EQ(core::ThreadBase::LiveThreads(), 0);
  EXPECT_EQ(loops_->ref_count_for_testing(), 1);
  EXPECT_FALSE(loops_->HasLoop(kPrepareLoopName));
  EXPECT_FALSE(loops_->HasLoop(kCheckNetLoopName));
  const auto calls = windows_.calls();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& call) {
                            return call.find("Failed") != std::string::npos;
                          }),
            0);
  EXPECT_EQ(service_.Reports().size(), 1u);
}

TEST_F(ControllerTest, LostConnectionReachesTheMainWindow) {
  service_.server().Stall(test::kPackageQueryPath);
  ControllerSetup setup = MakeSetup();
  setup.installing.endpoints.probe_url = workflow::test::kUnreachableUrl;
  Start(std::move(setup));

  ASSERT_TRUE(windows_.AwaitCallStartingWith("no connection"));
  controller_->Stop();
  ui_.Flush();

  const auto handled = windows_.handled();
  EXPECT_NE(std::find(handled.begin(), handled.end(), std::to_string(WM_NO_CONNECTION)),
            handled.end());
}

}  // namespace
}  // namespace qv::controller
