// CHttp::Get and CHttp::Post against a real loopback server: results, bodies, files, the agent
// header, redirects, refused addresses and the memory ceiling.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "loopback_server.h"
#include "progress_recorder.h"
#include "temp_root.h"
#include "transfer/http.h"

namespace qv::transfer {
namespace {

using test::LoopbackServer;
using test::ReadFileBytes;
using test::TempRootTest;

constexpr char kUntouched[] = "<untouched>";
constexpr char kExpectedAgent[] =
    "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/59.0.3071.109 Safari/537.36 qvorvane/1.0 QtWebEngine";

class HttpGetTest : public TempRootTest {
 protected:
  std::unique_ptr<LoopbackServer> server_ = LoopbackServer::StartHttp();
};

// What a Get to memory and a Get to a file make of each kind of answer.
TEST_F(HttpGetTest, ResultBodyAndFileForEachKindOfAnswer) {
  const std::string big = LoopbackServer::PatternBytes(0, 300'000);
  server_->Answer("/ok", 200, "package bytes");
  server_->StreamBody("/big", big.size());
  server_->Answer("/missing", 404, "not here");
  server_->Answer("/broken", 500, "server fault");
  server_->Answer("/empty", 200, "");
  server_->DropMidBody("/cut", 1'000'000, 100'000);
  server_->Redirect("/moved", "/ok", 301);

  struct Case {
    std::string path;
    HttpResult result;
    std::string response;                  // kUntouched: left as it was
    std::optional<std::string> file_body;  // nullopt: no file created
  };
  const std::vector<Case> cases = {
      {"/ok", HttpResult::kSuccess, "package bytes", "package bytes"},
      {"/big", HttpResult::kSuccess, big, big},
      {"/moved", HttpResult::kSuccess, "package bytes", "package bytes"},
      {"/missing", HttpResult::kFailed, "not here", "not here"},
      {"/broken", HttpResult::kFailed, "server fault", "server fault"},
      {"/empty", HttpResult::kSuccess, kUntouched, std::nullopt},
      {"/cut", HttpResult::kFailed, LoopbackServer::PatternBytes(0, 100'000),
       LoopbackServer::PatternBytes(0, 100'000)},
  };
  int attempt = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CHttp to_memory;
    std::string response = kUntouched;
    EXPECT_EQ(to_memory.Get(server_->Url(c.path), response, ""), c.result);
    EXPECT_EQ(response, c.response);
    EXPECT_FALSE(to_memory.busy());

    CHttp to_file;
    const std::string file = root_.Path("download_" + std::to_string(++attempt) + ".tmp");
    std::string untouched = kUntouched;
    EXPECT_EQ(to_file.Get(server_->Url(c.path), untouched, file), c.result);
    EXPECT_EQ(untouched, kUntouched);
    EXPECT_EQ(ReadFileBytes(file), c.file_body);
  }
}

TEST_F(HttpGetTest, EmptyUrlAndBusyObjectFailWithoutAnyRequest) {
  server_->Answer("/second", 200, "never fetched");
  server_->StreamBody("/first", 200'000);
  std::string response = kUntouched;
  EXPECT_EQ(CHttp().Get("", response, ""), HttpResult::kFailed);
  EXPECT_EQ(CHttp().Post("", response, "a=1"), HttpResult::kFailed);
  EXPECT_EQ(response, kUntouched);

  // The only way to reach a busy object is from inside its own transfer.
  ProgressRecorder progress;
  CHttp http(&progress);
  std::vector<HttpResult> nested;
  progress.on_progress = [&](double) {
    if (!nested.empty()) return;
    std::string nested_response;
    nested.push_back(http.Get(server_->Url("/second"), nested_response, ""));
    nested.push_back(http.Post(server_->Url("/second"), nested_response, "a=1"));
  };
  std::string body;
  EXPECT_EQ(http.Get(server_->Url("/first"), body, ""), HttpResult::kSuccess);
  EXPECT_EQ(nested, (std::vector{HttpResult::kFailed, HttpResult::kFailed}));
  EXPECT_EQ(body.size(), 200'000u);
  EXPECT_TRUE(server_->RequestsTo("/second").empty());
  ASSERT_EQ(server_->Requests().size(), 1u);
}

TEST_F(HttpGetTest, OutputFileThatCannotBeCreatedFails) {
  server_->Answer("/ok", 200, "bytes");
  std::string response;
  EXPECT_EQ(CHttp().Get(server_->Url("/ok"), response, root_.Path("no/such/folder/file.tmp")),
            HttpResult::kFailed);
  EXPECT_EQ(CHttp().Get(server_->Url("/ok"), response, root_.path()), HttpResult::kFailed);
}

TEST_F(HttpGetTest, PostSendsTheFormAndIgnoresTheStatus) {
  server_->Answer("/client/install", 500, "try later");
  std::string response;
  EXPECT_EQ(CHttp().Post(server_->Url("/client/install"), response, "ci=abc&op=1&ex=x%20y"),
            HttpResult::kSuccess);
  EXPECT_EQ(response, "try later");
  const auto requests = server_->RequestsTo("/client/install");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "ci=abc&op=1&ex=x%20y");
  EXPECT_EQ(requests[0].Header("Content-Type"), "application/x-www-form-urlencoded");
}

TEST_F(HttpGetTest, GetAndPostSendTheExactAgentAndProbeNone) {
  server_->Answer("/agent", 200, "ok");
  std::string response;
  ASSERT_EQ(CHttp().Get(server_->Url("/agent"), response, ""), HttpResult::kSuccess);
  ASSERT_EQ(CHttp().Post(server_->Url("/agent"), response, "a=1"), HttpResult::kSuccess);
  ASSERT_EQ(CHttp().Probe(server_->Url("/agent")), 0);
  const auto requests = server_->RequestsTo("/agent");
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Header("User-Agent"), kExpectedAgent);
  EXPECT_EQ(requests[1].Header("User-Agent"), kExpectedAgent);
  EXPECT_FALSE(requests[2].HasHeader("User-Agent"));
}

TEST_F(HttpGetTest, EveryOperationFollowsARedirectToAnotherServer) {
  auto other = LoopbackServer::StartHttp();
  other->Answer("/target", 200, "from the other port");
  server_->Redirect("/start", other->Url("/target"), 302);

  std::string got;
  std::string posted;
  EXPECT_EQ(CHttp().Get(server_->Url("/start"), got, ""), HttpResult::kSuccess);
  EXPECT_EQ(CHttp().Post(server_->Url("/start"), posted, "a=1"), HttpResult::kSuccess);
  EXPECT_EQ(CHttp().Probe(server_->Url("/start")), 0);
  EXPECT_EQ(got, "from the other port");
  EXPECT_EQ(posted, "from the other port");
  EXPECT_EQ(other->RequestsTo("/target").size(), 3u);
}

TEST_F(HttpGetTest, OnlyHttpAndHttpsAreFetchedAndRedirectsAreBounded) {
  const std::string secret = root_.WriteFile("secret.txt", "local file");
  server_->Redirect("/to-file", "file://" + secret);
  server_->Redirect("/to-ftp", "ftp://127.0.0.1:1/x");
  server_->Redirect("/loop", "/loop");

  for (const std::string& url : {"file://" + secret, server_->Url("/to-file"),
                                 server_->Url("/to-ftp"), server_->Url("/loop")}) {
    SCOPED_TRACE(url);
    std::string response = kUntouched;
    EXPECT_EQ(CHttp().Get(url, response, ""), HttpResult::kFailed);
    EXPECT_NE(response, "local file");
    std::string posted = kUntouched;
    EXPECT_EQ(CHttp().Post(url, posted, "a=1"), HttpResult::kFailed);
    EXPECT_NE(posted, "local file");
    EXPECT_NE(CHttp().Probe(url), 0);
  }
  // The first request and kMaxRedirects more, for each of the three operations.
  EXPECT_EQ(server_->RequestsTo("/loop").size(), 3 * (1 + kMaxRedirects));
}

TEST_F(HttpGetTest, ProgressReportsTotalAndBytesSoFar) {
  constexpr uint64_t kSize = 2 * 1024 * 1024;
  server_->StreamBody("/package.zip", kSize);
  ProgressRecorder progress;
  std::string response;
  const std::string url = server_->Url("/package.zip");
  ASSERT_EQ(CHttp(&progress).Get(url, response, root_.Path("package.tmp")), HttpResult::kSuccess);

  ASSERT_FALSE(progress.notifications.empty());
  double previous = 0;
  for (const auto& notification : progress.notifications) {
    EXPECT_EQ(notification.url, url);
    EXPECT_TRUE(notification.total == 0 || notification.total == kSize) << notification.total;
    EXPECT_GE(notification.now, previous);
    previous = notification.now;
  }
  EXPECT_EQ(progress.notifications.back().total, kSize);
  EXPECT_EQ(progress.notifications.back().now, kSize);

  // Post reports no progress.
  ProgressRecorder post_progress;
  ASSERT_EQ(CHttp(&post_progress).Post(url, response, "a=1"), HttpResult::kSuccess);
  EXPECT_TRUE(post_progress.notifications.empty());
}

TEST_F(HttpGetTest, MemoryBodyOverTheCeilingFails) {
  constexpr uint32_t kCeiling = 100'000;
  server_->StreamBody("/fits", kCeiling);
  server_->StreamBody("/over", kCeiling + 1);
  TransferLimits limits;
  limits.memory_body_ceiling = kCeiling;

  std::string fits;
  EXPECT_EQ(CHttp(nullptr, limits).Get(server_->Url("/fits"), fits, ""), HttpResult::kSuccess);
  EXPECT_EQ(fits, LoopbackServer::PatternBytes(0, kCeiling));
  std::string over;
  EXPECT_EQ(CHttp(nullptr, limits).Get(server_->Url("/over"), over, ""), HttpResult::kFailed);
  EXPECT_EQ(CHttp(nullptr, limits).Post(server_->Url("/over"), over, "a=1"), HttpResult::kFailed);
  // A file has no ceiling.
  std::string untouched;
  EXPECT_EQ(CHttp(nullptr, limits).Get(server_->Url("/over"), untouched, root_.Path("over.tmp")),
            HttpResult::kSuccess);
}

TEST_F(HttpGetTest, TheProductCeilingIsAbout100Megabytes) {
  server_->StreamBody("/huge", MemoryBody::kDefaultCeiling + 1);
  std::string response;
  EXPECT_EQ(CHttp().Get(server_->Url("/huge"), response, ""), HttpResult::kFailed);
  EXPECT_LE(response.size(), MemoryBody::kDefaultCeiling);
}

TEST_F(HttpGetTest, SeveralThreadsTransferAtOnce) {
  server_->StreamBody("/part", 500'000);
  std::vector<HttpResult> results(4, HttpResult::kFailed);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&, i] {
      std::string response;
      results[i] = CHttp().Get(server_->Url("/part"), response, root_.Path("part" + std::to_string(i)));
    });
  }
  for (auto& thread : threads) thread.join();
  for (size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i], HttpResult::kSuccess);
    EXPECT_EQ(ReadFileBytes(root_.Path("part" + std::to_string(i)))->size(), 500'000u);
  }
}

}  // namespace
}  // namespace qv::transfer
