// The two downloads: their files, how an attempt continues the one before, their progress steps
// and how a stop ends them.
#include "workflow/packages/package_downloads.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/ranged_file.h"
#include "loopback_server.h"
#include "record_matchers.h"
#include "temp_root.h"
#include "transfer/partial_download_files.h"
#include "util/text_conversion.h"
#include "virtual_clock.h"
#include "workflow/tasks/status_keys.h"

namespace qv::workflow {
namespace {

using transfer::HttpResult;

constexpr char kCdnHost[] = "cdn.test";
constexpr double kMiB = 1024 * 1024;

// The task side a download works on: its record, its percent and what it reported.
struct TaskSide {
  InstallRecord record;
  int percent = 10;
  std::vector<std::pair<std::u16string, int>> reports;
  platform::StopSignal stop;

  DownloadTaskView View() {
    return DownloadTaskView{record, percent,
                            [this](std::u16string_view key, int code) {
                              reports.emplace_back(key, code);
                            },
                            &stop};
  }
};

TEST(DownloadProgressTest, StepsFollowTheBusinessTypeAndTheMarkers) {
  const std::string installer =
      std::string("https://") + kCdnHost + kInstallerMarkerPath + "/p.zip";
  const std::string plugin = std::string("https://") + kCdnHost + kPluginMarkerPath + "/a.zip";
  const std::string other = "https://elsewhere.test/file.zip";
  struct Case {
    const char* name;
    uint8_t business_type;
    std::string url;
    double total;
    double notification;  // bytes between notifications, from one notification up to total
    int steps;
  };
  const std::vector<Case> cases = {
      {"type 3 installer: 55 steps", 3, installer, 55 * kMiB, kMiB, 55},
      {"type 3 installer in half steps: still 55", 3, installer, 55 * kMiB, kMiB / 2, 55},
      {"type 3 plug-in: 30 steps", 3, plugin, 60 * kMiB, kMiB, 30},
      {"type 3 without a marker: every notification", 3, other, 10 * kMiB, kMiB, 10},
      {"type 1 installer: 85 steps", 1, installer, 170 * kMiB, kMiB, 85},
      {"type 1 plug-in: every notification", 1, plugin, 200 * kMiB, kMiB, 200},
      {"other types: 100 steps whatever the URL", 2, other, 200 * kMiB, kMiB, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TaskSide task;
    task.record.business_type = c.business_type;
    ServiceEndpoints endpoints;
    endpoints.cdn_host = kCdnHost;
    PackageDownloads downloads(task.View(), endpoints);
    for (double now = c.notification; now <= c.total; now += c.notification) {
      downloads.OnTransferProgress(c.url, c.total, now);
    }
    EXPECT_EQ(task.percent, 10 + c.steps);
    ASSERT_EQ(task.reports.size(), static_cast<size_t>(c.steps));
    for (const auto& [key, code] : task.reports) {
      EXPECT_EQ(key, kStatusDownloading);
      EXPECT_EQ(code, 0);
    }
  }
}

TEST(DownloadProgressTest, NotificationsWithoutAKnownProgressChangeNothing) {
  TaskSide task;
  task.record.business_type = 1;  // a plug-in URL has step size 0: anything that passes steps
  PackageDownloads downloads(task.View(), ServiceEndpoints());
  const std::string plugin = std::string(settings::kCdnHost) + kPluginMarkerPath;
  downloads.OnTransferProgress(plugin, 0, 100);    // size not known yet
  downloads.OnTransferProgress(plugin, 100, 0);    // nothing arrived
  downloads.OnTransferProgress(plugin, 100, 101);  // more than announced
  downloads.OnTransferProgress(plugin, -1, 1);
  EXPECT_EQ(task.percent, 10);
  EXPECT_TRUE(task.reports.empty());
}

class PackageDownloadsTest : public qv::test::TempRootTest {
 protected:
  void SetUp() override {
    endpoints_.cdn_host = "127.0.0.1:" + std::to_string(server_->port());
    SetField(task_.record.url, server_->Url(std::string(kInstallerMarkerPath) + "/p.zip"));
    SetField(task_.record.url_air, server_->Url(std::string(kPluginMarkerPath) + "/a.zip"));
    task_.record.business_type = 3;
  }

  qv::test::VirtualClock clock_{123'456};
  platform::ScopedClockOverride clock_override_{clock_};
  std::unique_ptr<qv::test::LoopbackServer> server_ = qv::test::LoopbackServer::StartHttp();
  ServiceEndpoints endpoints_;
  TaskSide task_;
};

TEST_F(PackageDownloadsTest, EachAttemptGoesToTheUrlsOwnFileAndContinuesIt) {
  constexpr uint64_t kSize = 2'000'000;
  const std::string plugin_path = std::string(kPluginMarkerPath) + "/a.zip";
  server_->StreamBody(std::string(kInstallerMarkerPath) + "/p.zip", kSize);
  tools::ServeRanged(*server_, plugin_path,
                     tools::RangedFile{kSize, qv::test::LoopbackServer::PatternBytes, "\"a1\"",
                                       "", true},
                     {tools::RangedPacing{kSize / 2}});
  PackageDownloads downloads(task_.View(), endpoints_);
  const std::u16string platform_file =
      util::Utf8ToWide(transfer::PartialDownloadPath(root_.Path("tmp/"),
                                                     FieldText(task_.record.url)));

  std::u16string path;
  HttpResult result = HttpResult::kFailed;
  EXPECT_TRUE(downloads.DownloadPlatformInstaller(path, result));
  EXPECT_EQ(result, HttpResult::kSuccess);
  EXPECT_EQ(path, platform_file);
  EXPECT_EQ(qv::test::ReadFileBytes(util::WideToUtf8(path)),
            qv::test::LoopbackServer::PatternBytes(0, kSize));
  const int steps_of_first = task_.percent - 10;
  EXPECT_GE(steps_of_first, 1);
  EXPECT_LE(steps_of_first, 55);

  // The next attempt at the same URL writes the same file anew, with steps of its own.
  clock_.Advance(1);
  EXPECT_TRUE(downloads.DownloadPlatformInstaller(path, result));
  EXPECT_EQ(path, platform_file);
  EXPECT_GT(task_.percent - 10, steps_of_first);

  // A dropped attempt leaves its half for the next one, which asks only for the rest.
  EXPECT_FALSE(downloads.DownloadPluginPackage(path, result));
  EXPECT_EQ(result, HttpResult::kFailed);
  EXPECT_EQ(qv::test::ReadFileBytes(util::WideToUtf8(path))->size(), kSize / 2);
  const int percent_before_rest = task_.percent;
  EXPECT_TRUE(downloads.DownloadPluginPackage(path, result));
  EXPECT_EQ(server_->RequestsTo(plugin_path).back().Header("Range"), "bytes=1000000-");
  EXPECT_EQ(qv::test::ReadFileBytes(util::WideToUtf8(path)),
            qv::test::LoopbackServer::PatternBytes(0, kSize));
  // The rest is half the file: at most half of its 30 steps, and at least one.
  EXPECT_GE(task_.percent - percent_before_rest, 1);
  EXPECT_LE(task_.percent - percent_before_rest, 16);
}

TEST_F(PackageDownloadsTest, AFailedAttemptThatCannotBeContinuedLeavesNoFile) {
  constexpr uint64_t kSize = 2'000'000;
  server_->DropMidBody(std::string(kPluginMarkerPath) + "/a.zip", kSize, kSize / 2);
  PackageDownloads downloads(task_.View(), endpoints_);
  std::u16string path;
  HttpResult result = HttpResult::kSuccess;
  EXPECT_FALSE(downloads.DownloadPluginPackage(path, result));
  EXPECT_EQ(result, HttpResult::kFailed);
  EXPECT_FALSE(qv::test::ReadFileBytes(util::WideToUtf8(path)));
  EXPECT_TRUE(std::filesystem::is_empty(root_.temp_dir()));
}

TEST_F(PackageDownloadsTest, AStopEndsTheRunningDownload) {
  server_->StreamBody("/big.zip", uint64_t{1} << 30, 4 * 1024 * 1024);  // minutes if left to run
  SetField(task_.record.url, server_->Url("/big.zip"));  // no marker: the first bytes step
  DownloadTaskView view = task_.View();
  view.report_progress = [&](std::u16string_view, int) { task_.stop.Raise(); };
  PackageDownloads downloads(view, endpoints_);
  std::u16string path;
  HttpResult result = HttpResult::kSuccess;
  EXPECT_FALSE(downloads.DownloadPlatformInstaller(path, result));
  EXPECT_EQ(result, HttpResult::kFailed);
}

}  // namespace
}  // namespace qv::workflow
