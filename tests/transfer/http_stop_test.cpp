// A transfer ends when the server stalls, and at once when its task is asked to stop.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "loopback_server.h"
#include "progress_recorder.h"
#include "raw_ports.h"
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

// Connecting and waiting for the first byte are stalls like any other: a Get to a server that
// never completes the TLS handshake, or never answers a request, ends as timed out once the
// limit passes (the product's: 30 s to connect, 60 s to the first byte) and the run moves on.
TEST_F(HttpStopTest, ASilentServerTimesOutWhileConnectingOrBeforeTheFirstByte) {
  test::SilentPort silent;
  ASSERT_NE(silent.port(), 0);
  struct Case {
    const char* scheme;
    int64_t connect_timeout_ms;
    int64_t first_byte_timeout_ms;
  };
  const Case cases[] = {
      {"https", 500, 600'000},  // the handshake never ends: the connection is not made
      {"http", 600'000, 700},   // the request is taken and never answered
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scheme);
    TransferLimits limits;  // the speed check keeps the product's 60 s
    limits.connect_timeout_ms = c.connect_timeout_ms;
    limits.first_byte_timeout_ms = c.first_byte_timeout_ms;
    const auto start = std::chrono::steady_clock::now();
    std::string response;
    const std::string url =
        std::string(c.scheme) + "://127.0.0.1:" + std::to_string(silent.port()) + "/";
    EXPECT_EQ(CHttp(nullptr, limits).Get(url, response, ""), HttpResult::kTimedOut);
    // Far above the limits, far below the library's own waits (300 s to connect).
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  }
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
