// The package query against a real HTTPS server: the exact request, and what each outcome gives.
#include "workflow/packages/package_query.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loopback_server.h"
#include "record_matchers.h"
#include "temp_root.h"
#include "test_pki.h"

namespace qv::workflow {
namespace {

using transfer::HttpResult;

constexpr char kPath[] = "/api/micro/packageInfo";
constexpr char kClientId[] = "0123456789abcdef0123456789abcdef";

class PackageQueryTest : public qv::test::TempRootTest {
 protected:
  ServiceEndpoints Endpoints(const qv::test::LoopbackServer& server) const {
    ServiceEndpoints endpoints;
    endpoints.api_base_url = server.base_url();
    endpoints.ca_bundle = pki_.ca_certificate;
    return endpoints;
  }

  qv::test::TestPki pki_ = qv::test::MakeTestPki(root_.path());
  std::unique_ptr<qv::test::LoopbackServer> server_ =
      qv::test::LoopbackServer::StartHttps(pki_.server.certificate, pki_.server.private_key);
};

TEST_F(PackageQueryTest, SendsTheValuesUnchangedAndStoresTheAnswer) {
  server_->Answer(kPath, 200, R"({"code":0,"data":{"version":"3.2.1","ver":"45"}})",
                  "application/json");
  InstallRecord record;
  HttpResult result = HttpResult::kFailed;
  EXPECT_TRUE(QueryPackageInfo("tov3_web", "zh-cn", kClientId, record, result,
                               Endpoints(*server_), nullptr));
  EXPECT_EQ(result, HttpResult::kSuccess);
  const auto requests = server_->RequestsTo(kPath);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].query, std::string("code=tov3_web&lang=zh-cn&client_id=") + kClientId);
  InstallRecord expected;
  SetField(expected.version, "3.2.1");
  expected.ver = 45;
  ExpectSameRecord(record, expected);
}

TEST_F(PackageQueryTest, EachOutcomeGivesItsResultAndOnlyAValidAnswerChangesTheRecord) {
  const auto self_signed = qv::test::LoopbackServer::StartHttps(pki_.self_signed.certificate,
                                                                pki_.self_signed.private_key);
  self_signed->Answer(kPath, 200, R"({"code":0,"data":{"version":"9"}})");
  server_->Answer(kPath, 200, R"({"code":1,"data":{"version":"9"}})");
  struct Case {
    const char* name;
    std::string base_url;
    bool valid;
    HttpResult result;
  };
  const std::vector<Case> cases = {
      {"refused by the service", server_->base_url(), false, HttpResult::kSuccess},
      {"no such path (404)", server_->base_url() + "/missing", false, HttpResult::kFailed},
      {"nothing listening", "https://127.0.0.1:0", false, HttpResult::kConnectionFailed},
      {"a certificate nobody vouches for", self_signed->base_url(), false, HttpResult::kFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceEndpoints endpoints = Endpoints(*server_);
    endpoints.api_base_url = c.base_url;
    InstallRecord record;
    HttpResult result = HttpResult::kTimedOut;
    EXPECT_EQ(QueryPackageInfo("tov3_web", "en-us", kClientId, record, result, endpoints, nullptr),
              c.valid);
    EXPECT_EQ(result, c.result);
    ExpectSameRecord(record, InstallRecord());
  }
}

TEST_F(PackageQueryTest, AStoppedTaskSendsNoQuery) {
  server_->Answer(kPath, 200, R"({"code":0})");
  platform::StopSignal stop;
  stop.Raise();
  InstallRecord record;
  HttpResult result = HttpResult::kSuccess;
  EXPECT_FALSE(QueryPackageInfo("tov3_web", "en-us", kClientId, record, result,
                                Endpoints(*server_), &stop));
  EXPECT_EQ(result, HttpResult::kFailed);
  EXPECT_TRUE(server_->Requests().empty());
}

TEST(PackageInfoUrlTest, IsCutAtTheFormattingBuffer) {
  EXPECT_EQ(PackageInfoUrl("https://api.example", "tov3_web", "en-us", "id"),
            "https://api.example/api/micro/packageInfo?code=tov3_web&lang=en-us&client_id=id");
  const std::string url =
      PackageInfoUrl("https://api.example", "c", "en-us", std::string(5000, 'i'));
  EXPECT_EQ(url.size(), 4095u);
  EXPECT_EQ(url.substr(0, 60), "https://api.example/api/micro/packageInfo?code=c&lang=en-us&");
}

TEST(PackageInfoUrlTest, EncodesOnlyWhatIsNotUrlSafe) {
  struct Case {
    std::string code, lang, client_id, query;
  };
  const Case cases[] = {
      {"tov3_web", "en-us", "0123abcdef", "code=tov3_web&lang=en-us&client_id=0123abcdef"},
      {"a.b~c-d_e", "zh-cn", "Z9", "code=a.b~c-d_e&lang=zh-cn&client_id=Z9"},
      {"tov3 web", "en-us", "id", "code=tov3%20web&lang=en-us&client_id=id"},
      {"a&lang=x", "en-us", "id", "code=a%26lang%3Dx&lang=en-us&client_id=id"},
      {"x#y?z%", "en-us", "id", "code=x%23y%3Fz%25&lang=en-us&client_id=id"},
      {"\xE6\xB8\xB8", "en-us", "a+b/c", "code=%E6%B8%B8&lang=en-us&client_id=a%2Bb%2Fc"},
      {"", "", "", "code=&lang=&client_id="},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PackageInfoUrl("https://api.example", c.code, c.lang, c.client_id),
              "https://api.example/api/micro/packageInfo?" + c.query)
        << c.code;
  }
}

TEST(PackageInfoUrlTest, IsNeverCutInsideAnEscape) {
  const std::string base = "https://api.example";
  const std::string head = base + "/api/micro/packageInfo?code=c&lang=en-us&client_id=";
  for (size_t room = 0; room < 3; ++room) {
    // `room` plain characters, then blanks that each take three bytes
    const std::string id = std::string(4095 - head.size() - room, 'i') + std::string(10, ' ');
    const std::string url = PackageInfoUrl(base, "c", "en-us", id);
    EXPECT_EQ(url.size(), 4095 - room) << room;
    EXPECT_EQ(url.find('%'), std::string::npos) << room;
  }
}

}  // namespace
}  // namespace qv::workflow
