// Which certificates each operation accepts, and the codes Probe gives for unreachable servers.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loopback_server.h"
#include "raw_ports.h"
#include "system_files.h"
#include "temp_root.h"
#include "test_environment.h"
#include "test_pki.h"
#include "transfer/http.h"

namespace qv::transfer {
namespace {

using test::LoopbackServer;
using test::PemFiles;
using test::TempRootTest;

class HttpTlsTest : public TempRootTest {
 protected:
  test::TestPki pki_ = test::MakeTestPki(root_.path());
};

TEST_F(HttpTlsTest, GetVerifiesThePeerAndItsNamePostAndProbeAsDesigned) {
  struct Case {
    const char* certificate;
    PemFiles files;
    HttpResult get;
    HttpResult post;
    int probe;
  };
  const std::vector<Case> cases = {
      {"signed by the trusted CA", pki_.server, HttpResult::kSuccess, HttpResult::kSuccess,
       CURLE_OK},
      {"self-signed", pki_.self_signed, HttpResult::kFailed, HttpResult::kSuccess, CURLE_OK},
      // Probe checks the name only, where the system's TLS checks a name without the peer
      // (not Windows', which checks it as part of the peer); the network check counts any answer
      // but 6, 7 and 28 as a reachable network either way.
      {"for another host", pki_.wrong_host, HttpResult::kFailed, HttpResult::kSuccess,
       test::OnWindows() ? CURLE_OK : CURLE_PEER_FAILED_VERIFICATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.certificate);
    auto server = LoopbackServer::StartHttps(c.files.certificate, c.files.private_key);
    server->Answer("/answer", 200, "secret");
    const std::string url = server->Url("/answer");

    CHttp get;
    get.SetCaBundle(pki_.ca_certificate);
    std::string got = "<untouched>";
    EXPECT_EQ(get.Get(url, got, ""), c.get);
    EXPECT_EQ(got, c.get == HttpResult::kSuccess ? "secret" : "<untouched>");
    std::string posted;
    EXPECT_EQ(CHttp().Post(url, posted, "a=1"), c.post);
    EXPECT_EQ(CHttp().Probe(url), c.probe);
  }
}

TEST_F(HttpTlsTest, GetWithoutTheCaTrustsOnlyTheSystemStore) {
  if (test::RunningUnderWine()) GTEST_SKIP() << "Wine's system store trusts every certificate";
  auto server = LoopbackServer::StartHttps(pki_.server.certificate, pki_.server.private_key);
  server->Answer("/answer", 200, "secret");
  CHttp get;
  get.SetCaBundle("");  // the system store, which does not hold the test CA
  std::string response;
  EXPECT_EQ(get.Get(server->Url("/answer"), response, root_.Path("answer.tmp")),
            HttpResult::kFailed);
  EXPECT_FALSE(test::ReadFileBytes(root_.Path("answer.tmp")));
}

TEST(HttpProbeTest, UnreachableServersGiveTheLibraryCodes) {
  auto silent = LoopbackServer::StartHttp();
  silent->Stall("/never");
  TransferLimits short_limits;  // the product waits 10 s; the rule is the same
  short_limits.probe_timeout_ms = 300;
  short_limits.probe_connect_timeout_ms = 300;

  EXPECT_EQ(CHttp().Probe("http://qv-unresolvable.invalid/"), CURLE_COULDNT_RESOLVE_HOST);
  EXPECT_EQ(CHttp().Probe("http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/"),
            CURLE_COULDNT_CONNECT);
  EXPECT_EQ(CHttp(nullptr, short_limits).Probe(silent->Url("/never")), CURLE_OPERATION_TIMEDOUT);
}

TEST(HttpProbeTest, GetAndPostMapTheSameFailuresToTheirResults) {
  const std::string closed = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/";
  std::string response;
  EXPECT_EQ(CHttp().Get("http://qv-unresolvable.invalid/", response, ""),
            HttpResult::kHostNotFound);
  EXPECT_EQ(CHttp().Get(closed, response, ""), HttpResult::kConnectionFailed);
  EXPECT_EQ(CHttp().Post("http://qv-unresolvable.invalid/", response, "a=1"),
            HttpResult::kHostNotFound);
  EXPECT_EQ(CHttp().Post(closed, response, "a=1"), HttpResult::kConnectionFailed);
}

}  // namespace
}  // namespace qv::transfer
