#include "workflow/tasks/run_down_gamebag_task.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/ranged_file.h"
#include "core/ref_base.h"
#include "loopback_server.h"
#include "temp_root.h"
#include "util/app_folders.h"
#include "workflow/records/game_bag_record.h"
#include "zip_builders.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;
using test::ZipEntry;

constexpr char kBagPath[] = "/bags/1001.zip";

class RecordingDelegate final : public RunDownGamebagTask::Delegate {
 public:
  bool OnGameInfo(const GameInfo& game, const bool& ok) override {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back({std::string(game.game_id), ok});
    return true;
  }
  std::vector<std::pair<std::string, bool>> calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<std::string, bool>> calls_;
};

class RunDownGamebagTaskTest : public test::TempRootTest {
 protected:
  RunDownGamebagTaskTest() : server_(test::LoopbackServer::StartHttp()) {
    fs::create_directories(root_.temp_dir());
    std::strncpy(game_.game_id, "1001", sizeof(game_.game_id) - 1);
    game_.ver = 7;
    SetUrl(server_->Url(kBagPath));
  }

  void SetUrl(const std::string& url) {
    std::strncpy(game_.url, url.c_str(), sizeof(game_.url) - 1);
  }
  std::string GameFolder() const { return test::LocalAppDataPath("Qvorvane/gamebag/1001/"); }
  std::string BagBytes(const std::vector<ZipEntry>& entries) const {
    const std::string path = root_.Path("bag.zip");
    test::BuildZipWithMinizip(path, entries);
    return *test::ReadFileBytes(path);
  }
  bool RunTask() {
    const auto task = core::MakeRef<RunDownGamebagTask>(game_, &delegate_, folders_);
    return task->Run();
  }
  bool TempFolderIsEmpty() const { return fs::is_empty(root_.temp_dir()); }

  std::unique_ptr<test::LoopbackServer> server_;
  util::AppFolders folders_;
  RecordingDelegate delegate_;
  GameInfo game_;
};

TEST_F(RunDownGamebagTaskTest, BagIsUnpackedAndItsVersionRecorded) {
  server_->Answer(kBagPath, 200,
                  BagBytes({ZipEntry::File("header.png", "picture"),
                            ZipEntry::File("icon/game.ico", "icon")}));

  EXPECT_TRUE(RunTask());

  EXPECT_EQ(test::ReadFileBytes(GameFolder() + "header.png"), "picture");
  EXPECT_EQ(test::ReadFileBytes(GameFolder() + test::OnThisSystem("icon/game.ico")), "icon");
  EXPECT_EQ(test::ReadFileBytes(GameFolder() + "cfg.ini"), test::ProfileText("[main]\nver=7\n"));
  EXPECT_EQ(ReadGameBagVersion("1001", folders_), 7);
  EXPECT_TRUE(TempFolderIsEmpty());
  EXPECT_EQ(delegate_.calls(), (std::vector<std::pair<std::string, bool>>{{"1001", true}}));
}

TEST_F(RunDownGamebagTaskTest, FailedOrDamagedBagLeavesNoVersionRecord) {
  struct Case {
    const char* name;
    int status;
    std::string body;
    std::string url;  // empty: the bag's path on the server
  };
  const std::string whole = BagBytes({ZipEntry::File("header.png", std::string(4000, 'p')),
                                      ZipEntry::File("icon.ico", "icon")});
  const std::string damaged = BagBytes({ZipEntry::File("header.png", "picture"),
                                        ZipEntry::FileWithCrc("icon.ico", "icon", 9)});
  const Case cases[] = {
      {"not found", 404, "missing", ""},
      {"damaged archive", 200, damaged, ""},
      {"archive cut short", 200, whole.substr(0, whole.size() / 2), ""},
      {"not an archive", 200, "<html>hello</html>", ""},
      {"empty url", 200, whole, "-"},
      {"unsupported scheme", 200, whole, "file:///etc/passwd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_->Answer(kBagPath, c.status, c.body);
    SetUrl(c.url.empty() ? server_->Url(kBagPath) : c.url == "-" ? "" : c.url);
    std::memset(game_.url + std::strlen(game_.url), 0,
                sizeof(game_.url) - std::strlen(game_.url));

    EXPECT_FALSE(RunTask());
    EXPECT_FALSE(fs::exists(GameFolder() + "cfg.ini"));
    EXPECT_EQ(ReadGameBagVersion("1001", folders_), 0);
    ASSERT_FALSE(delegate_.calls().empty());
    EXPECT_FALSE(delegate_.calls().back().second);
  }
}

// The task makes one attempt per run: a bag dropped half-way is continued by the next run's
// task, which asks only for the rest and unpacks the server's exact bytes.
TEST_F(RunDownGamebagTaskTest, BagDroppedHalfWayIsContinuedByTheNextRun) {
  const std::string bag = BagBytes({ZipEntry::File("header.png", std::string(3000, 'h'))});
  tools::ServeRanged(*server_, kBagPath,
                     tools::RangedFile{bag.size(),
                                       [bag](uint64_t offset, size_t size) {
                                         return bag.substr(offset, size);
                                       },
                                       "\"bag7\"", "", true},
                     {tools::RangedPacing{bag.size() / 2}});

  EXPECT_FALSE(RunTask());
  EXPECT_FALSE(TempFolderIsEmpty());  // the half, kept for the next run

  EXPECT_TRUE(RunTask());
  const auto requests = server_->RequestsTo(kBagPath);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Header("Range"), "bytes=" + std::to_string(bag.size() / 2) + "-");
  EXPECT_EQ(test::ReadFileBytes(GameFolder() + "header.png"), std::string(3000, 'h'));
  EXPECT_EQ(ReadGameBagVersion("1001", folders_), 7);
  EXPECT_TRUE(TempFolderIsEmpty());
}

TEST_F(RunDownGamebagTaskTest, GameIdThatIsNoPlainNameNeverBecomesAPath) {
  server_->Answer(kBagPath, 200, BagBytes({ZipEntry::File("header.png", "picture")}));
  std::strncpy(game_.game_id, "..", sizeof(game_.game_id) - 1);
  EXPECT_FALSE(RunTask());
  EXPECT_FALSE(fs::exists(test::LocalAppDataPath("Qvorvane/header.png")));
  EXPECT_FALSE(fs::exists(test::LocalAppDataPath("Qvorvane/cfg.ini")));
  EXPECT_TRUE(TempFolderIsEmpty());
}

TEST_F(RunDownGamebagTaskTest, StopEndsTheDownloadWithoutARecordOrACallback) {
  server_->Stall(kBagPath);
  const auto task = core::MakeRef<RunDownGamebagTask>(game_, &delegate_, folders_);
  std::atomic<bool> result{true};
  std::thread worker([&] { result = task->Run(); });
  while (server_->RequestsTo(kBagPath).empty()) std::this_thread::yield();
  task->SetState(core::MsgTask::kStateStopRequested);
  worker.join();

  EXPECT_FALSE(result);
  EXPECT_FALSE(fs::exists(GameFolder() + "cfg.ini"));
  EXPECT_TRUE(delegate_.calls().empty());
}

}  // namespace
}  // namespace qv::workflow
