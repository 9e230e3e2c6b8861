// The demo platform service as the installer meets it: a real service process per test, asked
// through the installer's own package query and HTTP client, its archives checked with unzip and
// against the digests and file lists it hands out, its statistics log read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "demo_service_process.h"
#include "run_command.h"
#include "temp_root.h"
#include "transfer/http.h"
#include "transfer/resumable_download.h"
#include "util/md5.h"
#include "util/text_conversion.h"
#include "workflow/records/package_file_list.h"
#include "workflow/packages/package_query.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using transfer::CHttp;
using transfer::HttpResult;

constexpr char kCode[] = "tov3_web";
constexpr char kLang[] = "en-us";
constexpr char kClientId[] = "0123456789abcdef0123456789abcdef";

class DemoServiceTest : public TempRootTest {
 protected:
  // The installer's query against the service; the transfer result goes to `result`.
  bool Query(const DemoServiceProcess& service, workflow::InstallRecord& record,
             HttpResult& result) const {
    return workflow::QueryPackageInfo(kCode, kLang, kClientId, record, result, service.Endpoints(),
                                      nullptr);
  }

  // The scenario's answer, which must be valid.
  workflow::InstallRecord ValidAnswer(const DemoServiceProcess& service) const {
    workflow::InstallRecord record;
    HttpResult result = HttpResult::kFailed;
    EXPECT_TRUE(Query(service, record, result));
    EXPECT_EQ(result, HttpResult::kSuccess);
    return record;
  }

  // The installer's verified download of `url` into the temporary root.
  HttpResult Download(const DemoServiceProcess& service, const std::string& url,
                      const std::string& name) const {
    CHttp http;
    http.SetCaBundle(service.ca_certificate());
    std::string unused;
    return http.Get(url, unused, root_.Path(name));
  }

  static std::string Md5Of(const std::string& path) {
    uint8_t digest[util::kMd5DigestSize];
    if (!util::Md5File(digest, path)) return "unreadable";
    char hex[util::kMd5HexSize];
    util::Md5Hex(digest, hex);
    return hex;
  }

  static std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

struct AnswerCase {
  const char* scenario;
  bool valid;
  HttpResult result;
  const char* game_id;  // expected when valid
  int ver_air;          // expected when valid
  bool digest_matches;  // the answer's md5 against the package it names

  friend void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.scenario; }
};

class ScenarioAnswerTest : public DemoServiceTest,
                           public testing::WithParamInterface<AnswerCase> {};

// Every scenario, as the installer reads it, and the package it names compared with the digest
// it announces.
TEST_P(ScenarioAnswerTest, AnswerReadsAsTheScenarioSays) {
  const AnswerCase& c = GetParam();
  DemoServiceProcess service(root_.path(), c.scenario);
  ASSERT_TRUE(service.started());
  workflow::InstallRecord record;
  HttpResult result = HttpResult::kSuccess;
  EXPECT_EQ(Query(service, record, result), c.valid);
  EXPECT_EQ(result, c.result);
  if (!c.valid) return;

  EXPECT_EQ(std::string(record.game.game_id), c.game_id);
  EXPECT_EQ(record.ver_air, c.ver_air);
  EXPECT_EQ(std::string(record.version), "3.2.1");
  EXPECT_EQ(record.ver, 45);
  EXPECT_EQ(record.business_type, 3);
  EXPECT_EQ(std::string(record.game.game_name), "Tides of Valoria III");
  // Every address is the service's own content host, inside the installer's download markers.
  const std::string content_host = service.Endpoints().cdn_host;
  EXPECT_NE(std::string(record.url).find(content_host + "/qvorvane/repository/install"),
            std::string::npos);
  EXPECT_NE(std::string(record.url_air).find(content_host + "/qvorvane/repository/plugin/air"),
            std::string::npos);
  ASSERT_EQ(Download(service, record.url_air, "package.zip"), HttpResult::kSuccess);
  EXPECT_EQ(Md5Of(root_.Path("package.zip")) == record.md5, c.digest_matches) << record.md5;
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ScenarioAnswerTest,
    testing::Values(AnswerCase{"plugin-312", true, HttpResult::kSuccess, "312", 27, true},
                    AnswerCase{"game-package", true, HttpResult::kSuccess, "1045", 103, true},
                    AnswerCase{"slow-download", true, HttpResult::kSuccess, "312", 27, true},
                    AnswerCase{"damaged-archive", true, HttpResult::kSuccess, "312", 27, true},
                    AnswerCase{"digest-mismatch", true, HttpResult::kSuccess, "312", 27, false},
                    // Refused answers: the transfer worked, the answer is not valid.
                    AnswerCase{"refused", false, HttpResult::kSuccess, "", 0, false},
                    AnswerCase{"garbage-answer", false, HttpResult::kSuccess, "", 0, false},
                    AnswerCase{"truncated-answer", false, HttpResult::kSuccess, "", 0, false},
                    // Failed transfers.
                    AnswerCase{"service-down", false, HttpResult::kFailed, "", 0, false},
                    AnswerCase{"no-internet", false, HttpResult::kFailed, "", 0, false},
                    AnswerCase{"redirect-loop", false, HttpResult::kFailed, "", 0, false},
                    AnswerCase{"wrong-host-certificate", false, HttpResult::kFailed, "", 0, false}),
    [](const testing::TestParamInfo<AnswerCase>& param_info) {
      std::string name = param_info.param.scenario;
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

TEST_F(DemoServiceTest, ServiceDownAnswersAfterItsRefusedAttempts) {
  DemoServiceProcess service(root_.path(), "service-down");
  ASSERT_TRUE(service.started());
  workflow::InstallRecord record;
  HttpResult result = HttpResult::kSuccess;
  for (int attempt = 1; attempt <= 30; ++attempt) {
    ASSERT_FALSE(Query(service, record, result)) << attempt;
    ASSERT_EQ(result, HttpResult::kFailed) << attempt;
  }
  EXPECT_TRUE(Query(service, record, result));
  EXPECT_EQ(std::string(record.game.game_id), "312");
}

TEST_F(DemoServiceTest, DroppedDownloadsStopHalfWayThenArriveWhole) {
  DemoServiceProcess service(root_.path(), "dropped-downloads");
  ASSERT_TRUE(service.started());
  const workflow::InstallRecord record = ValidAnswer(service);
  for (int attempt = 1; attempt <= 3; ++attempt) {
    EXPECT_NE(Download(service, record.url, "cut.zip"), HttpResult::kSuccess) << attempt;
  }
  ASSERT_EQ(Download(service, record.url, "whole.zip"), HttpResult::kSuccess);
  EXPECT_EQ(Md5Of(root_.Path("whole.zip")),
            Md5Of(DemoContentFolder() + "/qvorvane/repository/install/QVorvaneSetup_3.2.1.45.zip"));
}

// Each dropped answer sends half of what it was asked for; continued with ranges, the archive
// travels exactly once, in four answers.
TEST_F(DemoServiceTest, DroppedDownloadsAreContinuedWhereTheyStopped) {
  DemoServiceProcess service(root_.path(), "dropped-downloads");
  ASSERT_TRUE(service.started());
  const workflow::InstallRecord record = ValidAnswer(service);
  const std::string archive =
      DemoContentFolder() + "/qvorvane/repository/install/QVorvaneSetup_3.2.1.45.zip";
  const std::string path = root_.Path("continued.zip");
  transfer::DownloadSetup setup;
  setup.ca_bundle = service.ca_certificate();
  transfer::DownloadTraffic traffic;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    EXPECT_NE(transfer::DownloadResumably(record.url, path, setup, &traffic), HttpResult::kSuccess)
        << attempt;
  }
  ASSERT_EQ(transfer::DownloadResumably(record.url, path, setup, &traffic), HttpResult::kSuccess);
  EXPECT_EQ(Md5Of(path), Md5Of(archive));
  EXPECT_EQ(traffic.body_bytes, std::filesystem::file_size(archive));
  EXPECT_EQ(traffic.continued, 3);
}

TEST_F(DemoServiceTest, ProbeTargetIsClosedOnlyWithoutInternet) {
  DemoServiceProcess online(root_.Path("online"), "plugin-312");
  ASSERT_TRUE(online.started());
  EXPECT_EQ(CHttp().Probe(online.Endpoints().probe_url), 0);

  DemoServiceProcess offline(root_.Path("offline"), "no-internet");
  ASSERT_TRUE(offline.started());
  EXPECT_EQ(offline.probe_port(), 0);  // nothing listens for the probe
}

// The archives the installer unpacks: whole by unzip's test, the platform's programs executable
// and working, the game package's files matching its own file list.
TEST_F(DemoServiceTest, ArchivesUnpackAndHoldWhatTheInstallerExpects) {
  DemoServiceProcess service(root_.path(), "game-package");
  ASSERT_TRUE(service.started());
  const workflow::InstallRecord record = ValidAnswer(service);
  const std::vector<std::pair<std::string, std::string>> archives = {
      {record.url, "platform.zip"}, {record.url_air, "game.zip"}, {record.game.url, "bag.zip"}};
  for (const auto& [url, name] : archives) {
    ASSERT_EQ(Download(service, url, name), HttpResult::kSuccess) << url;
    EXPECT_EQ(RunCommand({"unzip", "-tq", root_.Path(name)}).exit_code, 0) << name;
    ASSERT_EQ(
        RunCommand({"unzip", "-q", root_.Path(name), "-d", root_.Path(name + ".d")}).exit_code, 0);
  }
  for (const char* picture : {"install_head.png", "icon.png"}) {
    EXPECT_TRUE(fs::is_regular_file(root_.Path(std::string("bag.zip.d/") + picture))) << picture;
  }

  const fs::path client = root_.Path("platform.zip.d/QVorvane.exe");
  for (const fs::path& program : {client, fs::path(root_.Path("platform.zip.d/uninstall.exe"))}) {
    EXPECT_NE(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::none)
        << program;
  }
  // The client records its start: working folder and arguments, a line break escaped.
  EXPECT_EQ(
      RunCommand({client.string(), "/game_id=312", "/startgame=ab\r\ncd"}, root_.path()).exit_code,
      0);
  const std::vector<std::string> launch = Lines(root_.Path("platform.zip.d/launch.txt"));
  EXPECT_NE(std::find(launch.begin(), launch.end(), "working folder: " + root_.path()),
            launch.end());
  EXPECT_NE(
      std::find(launch.begin(), launch.end(), "arguments: /game_id=312 /startgame=ab\\r\\ncd"),
      launch.end());

  workflow::FileList files;
  ASSERT_EQ(workflow::ReadFileList(util::Utf8ToWide(root_.Path("game.zip.d/1045.xml")), files), 3u);
  for (const auto& [path, digest] : files) {
    EXPECT_TRUE(util::Md5Matches(digest, util::Utf8ToWide(root_.Path("game.zip.d/" + path))))
        << path;
  }
}

TEST_F(DemoServiceTest, DamagedPlatformArchiveFailsTheTest) {
  DemoServiceProcess service(root_.path(), "damaged-archive");
  ASSERT_TRUE(service.started());
  const workflow::InstallRecord record = ValidAnswer(service);
  ASSERT_EQ(Download(service, record.url, "platform.zip"), HttpResult::kSuccess);
  EXPECT_NE(RunCommand({"unzip", "-tq", root_.Path("platform.zip")}).exit_code, 0);
}

TEST_F(DemoServiceTest, StatisticsBodiesAreLoggedOneLineEachInOrder) {
  DemoServiceProcess service(root_.path(), "plugin-312");
  ASSERT_TRUE(service.started());
  const std::vector<std::string> bodies = {
      "ci=abc&gf=312&uf=3&bt=3&cv=3.2.1.45&os=Linux_64&op=1&ex=", "ci=abc&op=2&ex=line\nbreak",
      "ci=abc&op=10&ex=tray_click"};
  for (const std::string& body : bodies) {
    std::string answer;
    ASSERT_EQ(CHttp().Post(service.HttpUrl("/client/install"), answer, body), HttpResult::kSuccess);
  }
  // A GET is no report.
  std::string unused;
  EXPECT_EQ(CHttp().Get(service.HttpUrl("/client/install"), unused, ""), HttpResult::kFailed);
  EXPECT_EQ(service.Stop(), 0);
  EXPECT_EQ(Lines(service.statistics_log()),
            (std::vector<std::string>{bodies[0], "ci=abc&op=2&ex=line\\nbreak", bodies[2]}));
}

TEST_F(DemoServiceTest, PackageQueryWithoutItsValuesIsRefused) {
  DemoServiceProcess service(root_.path(), "plugin-312");
  ASSERT_TRUE(service.started());
  CHttp http;
  http.SetCaBundle(service.ca_certificate());
  std::string answer;
  const std::string base = service.ContentUrl("/api/micro/packageInfo?");
  EXPECT_EQ(http.Get(base + "code=tov3_web&lang=en-us&client_id=x", answer, ""),
            HttpResult::kSuccess);
  for (const char* query : {"lang=en-us&client_id=x", "code=tov3_web&client_id=x",
                            "code=tov3_web&lang=en-us", "code=&lang=en-us&client_id=x"}) {
    EXPECT_EQ(http.Get(base + query, answer, ""), HttpResult::kFailed) << query;
  }
}

// Only regular files inside the content folder are served: no way out through ".." (sent as
// the raw bytes, which the installer's client would have folded) or through a link.
TEST_F(DemoServiceTest, NothingOutsideTheContentFolderIsServed) {
  const std::string content = root_.Path("content");
  fs::copy(DemoContentFolder(), content, fs::copy_options::recursive);
  root_.WriteFile("secret.txt", "not for the network");
  fs::create_symlink(root_.Path("secret.txt"), content + "/qvorvane/secret-link.txt");
  DemoServiceOptions options;
  options.content = content;
  DemoServiceProcess service(root_.path(), "plugin-312", options);
  ASSERT_TRUE(service.started());
  for (const char* path : {"/qvorvane/secret-link.txt", "/qvorvane/../../secret.txt",
                           "/qvorvane/%2e%2e/%2e%2e/secret.txt", "/qvorvane/repository/"}) {
    const CommandResult curl =
        RunCommand({"curl", "-s", "--path-as-is", "--cacert", service.ca_certificate(), "-o",
                    "/dev/null", "-w", "%{http_code}", service.ContentUrl(path)});
    EXPECT_EQ(curl.output, "404") << path;
  }
}

// A Windows installer matches the certificate by name only: asked to, the answer names the
// content host "localhost", and a download by that name passes the CA's check.
TEST_F(DemoServiceTest, ContentHostNamedByTheAnswerIsTheOneAskedFor) {
  DemoServiceOptions options;
  options.content_host = "localhost";
  DemoServiceProcess service(root_.path(), "plugin-312", options);
  ASSERT_TRUE(service.started());
  workflow::InstallRecord record;
  HttpResult result = HttpResult::kSuccess;
  ASSERT_TRUE(Query(service, record, result));
  const std::string expected_base = "https://localhost:" + std::to_string(service.https_port());
  EXPECT_EQ(std::string(record.url).rfind(expected_base + "/qvorvane/repository/install/", 0), 0u)
      << record.url;
  EXPECT_EQ(Download(service, record.url_air, "package.zip"), HttpResult::kSuccess);
}

TEST_F(DemoServiceTest, ContentHostThatIsNoHostNameStopsTheService) {
  for (const std::string host : {"", "local host", "a/b", "x?y"}) {
    const CommandResult run = RunCommand(
        {QV_DEMO_SERVICE_PATH, "--scenario", DemoScenarioPath("plugin-312"), "--content",
         DemoContentFolder(), "--stats-log", root_.Path("stats.log"), "--pki", root_.Path("pki"),
         "--content-host", host});
    EXPECT_EQ(run.exit_code, 1) << host;
    EXPECT_NE(run.output.find("--content-host takes a host name"), std::string::npos)
        << run.output;
  }
}

TEST_F(DemoServiceTest, BadScenarioFilesStopTheServiceWithTheirProblem) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"not-json.json", "{\"answer\": "},
      {"no-answer.json", "{\"description\": \"x\"}"},
      {"unknown-fault.json", "{\"answer\": {\"code\": 0}, \"faults\": {\"explode\": true}}"},
      {"negative.json",
       "{\"answer\": {\"code\": 0}, \"faults\": {\"drop_download_attempts\": -1}}"},
      {"cycle-a.json", "{\"base\": \"cycle-b\"}"},
      {"missing-file.json", "{\"answer\": {\"md5\": \"{md5:/qvorvane/none.zip}\"}}"}};
  root_.WriteFile("cycle-b.json", "{\"base\": \"cycle-a\"}");
  for (const auto& [name, text] : cases) {
    const std::string path = root_.WriteFile(name, text);
    const CommandResult run =
        RunCommand({QV_DEMO_SERVICE_PATH, "--scenario", path, "--content", DemoContentFolder(),
                    "--stats-log", root_.Path("stats.log"), "--pki", root_.Path("pki")});
    EXPECT_EQ(run.exit_code, 1) << name;
    EXPECT_NE(run.output.find(name), std::string::npos) << run.output;
  }
}

}  // namespace
}  // namespace qv::test
