// A transfer ends when the server stalls, and at once when its task is asked to stop.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "loopback_server.h"
#include "progress_recorder.h"
#include "temp_root.h"
#include "transfer/http.h"

namespace qv::transfer {
namespace {

using test::LoopbackServer;
using test::TempRootTest;

constexpr uint64_t kOneGiB = uint64_t{1} << 30;

class HttpStopTest : public TempRootTest {
 protected:
  std::unique_ptr<LoopbackServer> server_ = LoopbackServer::StartHttp();
};

TEST_F(HttpStopTest, AStalledGetTimesOut) {
  server_->Stall("/silent");
  TransferLimits limits;  // the product allows 60 s below 1 byte/s; the rule is the same
  limits.stall_seconds = 1;
  std::string response;
  EXPECT_EQ(CHttp(nullptr, limits).Get(server_->Url("/silent"), response, root_.Path("s.tmp")),
            HttpResult::kTimedOut);
  EXPECT_FALSE(test::ReadFileBytes(root_.Path("s.tmp")));
}

TEST_F(HttpStopTest, StopDuringALargeDownloadEndsItAtOnce) {
  server_->StreamBody("/huge.zip", kOneGiB, 4 * 1024 * 1024);  // would take minutes
  platform::StopSignal stop;
  ProgressRecorder progress;
  progress.on_progress = [&](double now) {
    if (now > 0) stop.Raise();  // as a quitting user would, once bytes flow
  };
  CHttp http(&progress);
  http.SetCancelSignal(&stop);
  std::string response = "<untouched>";
  EXPECT_EQ(http.Get(server_->Url("/huge.zip"), response, root_.Path("huge.tmp")),
            HttpResult::kFailed);
  EXPECT_FALSE(http.busy());
  EXPECT_EQ(response, "<untouched>");
  EXPECT_LT(test::ReadFileBytes(root_.Path("huge.tmp"))->size(), kOneGiB);
}

TEST_F(HttpStopTest, StopFromAnotherThreadEndsAWaitForASilentServer) {
  server_->Stall("/silent");
  platform::StopSignal stop;
  HttpResult get = HttpResult::kSuccess;
  HttpResult post = HttpResult::kSuccess;
  int probe = 0;
  std::thread worker([&] {
    CHttp getter;
    getter.SetCancelSignal(&stop);
    std::string response;
    get = getter.Get(server_->Url("/silent"), response, "");
    CHttp poster;
    poster.SetCancelSignal(&stop);
    post = poster.Post(server_->Url("/silent"), response, "a=1");
    CHttp prober;
    prober.SetCancelSignal(&stop);
    probe = prober.Probe(server_->Url("/silent"));
  });
  // The Get is waiting for an answer that never comes.
  while (server_->RequestsTo("/silent").empty()) std::this_thread::yield();
  stop.Raise();
  worker.join();
  EXPECT_EQ(get, HttpResult::kFailed);
  EXPECT_EQ(post, HttpResult::kFailed);  // already raised: nothing sent
  EXPECT_NE(probe, 0);
  EXPECT_EQ(server_->Requests().size(), 1u);
}

}  // namespace
}  // namespace qv::transfer
