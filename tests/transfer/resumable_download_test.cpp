// DownloadResumably against a real loopback server that honours byte ranges: a dropped transfer
// continues where it stopped, everything that makes continuing unsafe starts the file over, and
// a run cut short is continued by the next one. Every case ends with the server's exact bytes.
#include "transfer/resumable_download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/ranged_file.h"
#include "loopback_server.h"
#include "progress_recorder.h"
#include "system_files.h"
#include "temp_root.h"
#include "transfer/partial_download_files.h"
#include "transfer/partial_download_record.h"

namespace qv::transfer {
namespace {

namespace fs = std::filesystem;
using test::LoopbackServer;
using test::ReadFileBytes;
using tools::RangedFile;
using tools::RangedPacing;

constexpr uint64_t kSize = 1'000'000;
constexpr uint64_t kHalf = kSize / 2;
constexpr char kDate[] = "Wed, 21 Oct 2026 07:28:00 GMT";

std::string OtherBytes(uint64_t offset, size_t size) {
  std::string bytes = LoopbackServer::PatternBytes(offset, size);
  for (char& c : bytes) c = static_cast<char>(~c);
  return bytes;
}

class ResumableDownloadTest : public test::TempRootTest {
 protected:
  ResumableDownloadTest() { fs::create_directories(folder_); }

  HttpResult Attempt(const std::string& url, CHttp::Delegate* progress = nullptr) {
    DownloadSetup setup;
    setup.progress = progress;
    setup.cancel = &stop_;
    return DownloadResumably(url, PartialDownloadPath(folder_, url), setup, &traffic_);
  }
  std::string PathOf(const std::string& url) const { return PartialDownloadPath(folder_, url); }
  std::optional<PartialRecord> RecordOf(const std::string& url) const {
    const auto text = ReadFileBytes(PartialRecordPath(PathOf(url)));
    return text ? ParsePartialRecord(*text) : std::nullopt;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  // The Range and If-Range headers of each request to `path` from the `from`-th on.
  std::vector<std::string> RangesAsked(const std::string& path, size_t from) const {
    std::vector<std::string> asked;
    const auto requests = server_->RequestsTo(path);
    for (size_t i = from; i < requests.size(); ++i) {
      const std::string if_range = requests[i].Header("If-Range");
      asked.push_back(requests[i].Header("Range") + (if_range.empty() ? "" : " if " + if_range));
    }
    return asked;
  }

  std::unique_ptr<LoopbackServer> server_ = LoopbackServer::StartHttp();
  const std::string folder_ = root_.Path("tmp/");
  platform::StopSignal stop_;
  DownloadTraffic traffic_;
};

TEST_F(ResumableDownloadTest, ADropHalfWayIsContinuedWithRangeAndIfRange) {
  struct Case {
    const char* name;
    std::string etag;
    std::string last_modified;
    std::string validator;  // what If-Range must carry
  };
  const std::vector<Case> cases = {
      {"strong ETag", "\"v1\"", kDate, "\"v1\""},
      {"date only", "", kDate, kDate},
      {"weak ETag: the date instead", "W/\"v1\"", kDate, kDate},
  };
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/p" + std::to_string(++index) + ".zip";
    const std::string url = server_->Url(path);
    tools::ServeRanged(*server_, path, RangedFile{kSize, LoopbackServer::PatternBytes, c.etag,
                                                  c.last_modified, true},
                       {RangedPacing{kHalf}});
    traffic_ = DownloadTraffic();

    EXPECT_EQ(Attempt(url), HttpResult::kFailed);
    EXPECT_EQ(RecordOf(url), (PartialRecord{url, c.validator, kHalf, kSize}));

    ProgressRecorder progress;
    EXPECT_EQ(Attempt(url, &progress), HttpResult::kSuccess);
    EXPECT_EQ(RangesAsked(path, 1), std::vector<std::string>{"bytes=500000- if " + c.validator});
    EXPECT_TRUE(ReadFileBytes(PathOf(url)) == LoopbackServer::PatternBytes(0, kSize));
    EXPECT_FALSE(fs::exists(PartialRecordPath(PathOf(url))));
    EXPECT_EQ(traffic_.body_bytes, kSize);  // not one byte fetched twice
    EXPECT_EQ(traffic_.continued, 1);
    // Progress is the whole file's: the continued attempt starts past the half.
    ASSERT_FALSE(progress.notifications.empty());
    EXPECT_EQ(progress.notifications.back().total, static_cast<double>(kSize));
    EXPECT_EQ(progress.notifications.back().now, static_cast<double>(kSize));
    fs::remove(PathOf(url));
  }
  EXPECT_TRUE(Files().empty());
}

// What the server does to the attempt after the drop: each case makes continuing unsafe, and the
// file is fetched over from its first byte.
TEST_F(ResumableDownloadTest, WhatCannotBeContinuedStartsTheFileOver) {
  const RangedFile v1{kSize, LoopbackServer::PatternBytes, "\"v1\"", "", true};
  const RangedFile v2{kSize, OtherBytes, "\"v2\"", "", true};
  const std::string pattern = LoopbackServer::PatternBytes(0, kSize);
  const std::string other = OtherBytes(0, kSize);
  // A 206 that names another start or another total, sent with the file's bytes from 0.
  const auto lying_206 = [&](const std::string& content_range) {
    return [this, v1, content_range](const httplib::Request& request,
                                      httplib::Response& response) {
      if (!request.has_header("Range")) return tools::AnswerRanged(*server_, request, response, v1);
      tools::AnswerUntrustworthyPartial(*server_, request, response, content_range, kHalf,
                                        LoopbackServer::PatternBytes);
    };
  };
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> after_drop;
    std::vector<std::string> asked;  // the ranges of the second attempt's requests
    std::string content;
  };
  const std::vector<Case> cases = {
      {"server without ranges", nullptr, {""}, pattern},
      {"file changed: 200 to the If-Range",
       [&](const std::string& path) { tools::ServeRanged(*server_, path, v2); },
       {"bytes=500000- if \"v1\""},
       other},
      {"206 from another offset",
       [&](const std::string& path) {
         server_->Handle(path, lying_206("bytes 400000-999999/1000000"));
       },
       {"bytes=500000- if \"v1\"", ""},
       pattern},
      {"206 of another total",
       [&](const std::string& path) {
         server_->Handle(path, lying_206("bytes 500000-999999/1500000"));
       },
       {"bytes=500000- if \"v1\"", ""},
       pattern},
      {"416",
       [&](const std::string& path) {
         server_->Handle(path, [&, path](const httplib::Request& request,
                                         httplib::Response& response) {
           if (!request.has_header("Range")) {
             return tools::AnswerRanged(*server_, request, response, v1);
           }
           response.status = 416;
         });
       },
       {"bytes=500000- if \"v1\"", ""},
       pattern},
  };
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/r" + std::to_string(++index) + ".zip";
    const std::string url = server_->Url(path);
    RangedFile first = v1;
    first.accepts_ranges = c.after_drop != nullptr;
    tools::ServeRanged(*server_, path, first, {RangedPacing{kHalf}});

    EXPECT_EQ(Attempt(url), HttpResult::kFailed);
    // Without ranges nothing can be continued, so nothing is kept.
    EXPECT_EQ(fs::exists(PathOf(url)), c.after_drop != nullptr);
    if (c.after_drop) c.after_drop(path);

    EXPECT_EQ(Attempt(url), HttpResult::kSuccess);
    EXPECT_EQ(RangesAsked(path, 1), c.asked);
    EXPECT_TRUE(ReadFileBytes(PathOf(url)) == c.content);
    fs::remove(PathOf(url));
    EXPECT_TRUE(Files().empty());
  }
}

// A run that is closed keeps all it received; one that is killed keeps what its last record
// counts, and whatever followed in the file is cut off before the next run appends.
TEST_F(ResumableDownloadTest, ARunCutShortIsContinuedByTheNextRun) {
  constexpr uint64_t kBig = 24 << 20;
  constexpr double kCutAt = 12 << 20;
  const std::string url = server_->Url("/big.zip");
  tools::ServeRanged(*server_, "/big.zip",
                     RangedFile{kBig, LoopbackServer::PatternBytes, "\"big\"", "", true});
  const std::string snapshot = root_.Path("killed/");
  fs::create_directories(snapshot);
  const std::string record = PartialRecordPath(PathOf(url));

  ProgressRecorder progress;
  progress.on_progress = [&](double now) {
    if (now < kCutAt || stop_.IsRaised()) return;
    // What a kill at this moment leaves on disk.
    fs::copy_file(PathOf(url), snapshot + "part");
    fs::copy_file(record, snapshot + "rec");
    stop_.Raise();
  };
  EXPECT_EQ(Attempt(url, &progress), HttpResult::kFailed);
  const auto closed = RecordOf(url);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->bytes, fs::file_size(PathOf(url)));
  EXPECT_GE(closed->bytes, kCutAt);

  const auto killed_record = ParsePartialRecord(*ReadFileBytes(snapshot + "rec"));
  ASSERT_TRUE(killed_record);
  EXPECT_GE(killed_record->bytes, kRecordEveryBytes);
  EXPECT_LT(killed_record->bytes, fs::file_size(snapshot + "part"));
  // Removed first: the standard library of the Windows build does not overwrite in copy_file.
  fs::remove(PathOf(url));
  fs::remove(record);
  fs::copy_file(snapshot + "part", PathOf(url));
  fs::copy_file(snapshot + "rec", record);
  // Someone else's stale file meanwhile, to be sure it is not mistaken for ours.
  fs::copy_file(snapshot + "part", snapshot + "unrelated");

  platform::StopSignal next_run;
  DownloadSetup setup;
  setup.cancel = &next_run;
  EXPECT_EQ(DownloadResumably(url, PathOf(url), setup), HttpResult::kSuccess);
  EXPECT_EQ(RangesAsked("/big.zip", 1),
            std::vector<std::string>{"bytes=" + std::to_string(killed_record->bytes) +
                                     "- if \"big\""});
  EXPECT_TRUE(ReadFileBytes(PathOf(url)) == LoopbackServer::PatternBytes(0, kBig));
  EXPECT_EQ(Files(), std::vector<std::string>{fs::path(PathOf(url)).filename().string()});
}

// The partial file's name is known in advance; a link planted there (in a temporary folder
// others can write) is replaced, never written through.
TEST_F(ResumableDownloadTest, ALinkAtThePartialFilesNameIsNotWrittenThrough) {
  const std::string url = server_->Url("/p.zip");
  tools::ServeRanged(*server_, "/p.zip",
                     RangedFile{kSize, LoopbackServer::PatternBytes, "\"v1\"", "", true});
  const std::string precious(kHalf, 'p');
  const std::string victim = root_.WriteFile("home/precious.txt", precious);
  if (!test::TryCreateSymbolicLink(victim, PathOf(url))) GTEST_SKIP() << test::kNoSymbolicLinksHere;
  // With a record that claims it, for content the server no longer has (so it answers 200).
  root_.WriteFile(fs::relative(PartialRecordPath(PathOf(url)), root_.path()).string(),
                  FormatPartialRecord({url, "\"v0\"", kHalf - 1, kSize}));

  EXPECT_EQ(Attempt(url), HttpResult::kSuccess);
  EXPECT_EQ(RangesAsked("/p.zip", 0), std::vector<std::string>{"bytes=499999- if \"v0\""});
  EXPECT_TRUE(ReadFileBytes(victim) == precious);
  EXPECT_FALSE(fs::is_symlink(PathOf(url)));
  EXPECT_EQ(fs::file_size(PathOf(url)), kSize);
}

}  // namespace
}  // namespace qv::transfer
