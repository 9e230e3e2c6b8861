// Statistics reports: the exact bodies, the config.ini values written on the way, and the retry
// schedule in virtual time.
#include "workflow/service/statistics_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answer_script.h"
#include "loopback_server.h"
#include "platform/private_profile.h"
#include "platform/registry.h"
#include "record_matchers.h"
#include "temp_root.h"
#include "util/client_identity.h"
#include "util/system_description.h"
#include "util/text_conversion.h"
#include "virtual_clock.h"
#include "workflow/service/url_encode.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

using test::Step;

constexpr char kClientId[] = "0123456789abcdef0123456789abcdef";

class StatisticsReportTest : public qv::test::TempRootTest {
 protected:
  void SetUp() override {
    platform::RegistryKey key;
    ASSERT_EQ(platform::CurrentRegistry().CreateKey(platform::RegistryRoot::kCurrentUser,
                                                    util::kClientIdRegistryKey,
                                                    platform::key_access::kAll, key),
              platform::RegistryStatus::kOk);
    ASSERT_EQ(key.SetStringValue(util::kClientIdValueName, kClientId),
              platform::RegistryStatus::kOk);
    root_.WriteFile("data/config.ini", "");
    SetField(record_.version, "3.2.1");
    record_.ver = 45;
    record_.user_from = 2;
    record_.business_type = 3;
    SetField(record_.game.game_id, "tov3");
  }

  ReportTarget Target(const platform::StopSignal* stop = nullptr) const {
    return ReportTarget{server_->Url(kInstallReportPath), util::Utf8ToWide(config_ini_), stop};
  }

  std::vector<std::string> Bodies() const {
    std::vector<std::string> bodies;
    for (const auto& request : server_->RequestsTo(kInstallReportPath)) {
      EXPECT_EQ(request.method, "POST");
      bodies.push_back(request.body);
    }
    return bodies;
  }

  std::string IniValue(std::string_view key) const {
    std::string value;
    platform::GetPrivateProfileString(kRecordSection, key, "<none>", value, 260, config_ini_);
    return value;
  }

  // The os pair as this machine's system description gives it.
  static std::string Os() { return UrlEncode(util::WideToUtf8(util::SystemDescription())); }

  qv::test::VirtualClock clock_;
  platform::ScopedClockOverride clock_override_{clock_};
  std::unique_ptr<qv::test::LoopbackServer> server_ = qv::test::LoopbackServer::StartHttp();
  std::string config_ini_ = root_.Path("data/config.ini");
  InstallRecord record_;
};

TEST_F(StatisticsReportTest, BodiesCarryThePairsInOrderAndWriteTheirIniValues) {
  server_->Answer(kInstallReportPath, 200, "ok");
  struct Case {
    const char* name;
    std::function<bool(const InstallRecord&)> send;
    bool empty_game;
    std::string body;       // after "ci=<id>&gf=<game>"
    std::string game_from;  // config.ini's game_from afterwards
  };
  const std::vector<Case> cases = {
      {"op 1 sends no durations and leaves game_from",
       [&](const InstallRecord& r) { return SendInstallReport(9, 9, r, true, true, "", Target()); },
       false, "&uf=2&bt=3&cv=3.2.1.45&os=" + Os() + "&op=1&ex=", "<none>"},
      {"op 2 with both durations",
       [&](const InstallRecord& r) {
         return SendInstallReport(1500, 820, r, false, true, "", Target());
       },
       false, "&uf=2&bt=3&d_tick=1500&i_tick=820&cv=3.2.1.45&os=" + Os() + "&op=2&ex=", "tov3"},
      {"op 5 sends a tick count past 2^31 as a negative number",
       [&](const InstallRecord& r) {
         return SendInstallReport(static_cast<int32_t>(uint32_t{3'000'000'000}), 0, r, false,
                                  false, "retry_timeout_policy_failed", Target());
       },
       false,
       "&uf=2&bt=3&d_tick=-1294967296&i_tick=0&cv=3.2.1.45&os=" + Os() +
           "&op=5&ex=retry_timeout_policy_failed",
       "tov3"},
      {"an empty game id is sent and kept as 1",
       [&](const InstallRecord& r) {
         return SendInstallReport(7, 0, r, false, true, "old_user", Target());
       },
       true, "&uf=2&bt=3&d_tick=7&i_tick=0&cv=3.2.1.45&os=" + Os() + "&op=2&ex=old_user", "1"},
      {"a client report has the caller's op and ex and no durations",
       [&](const InstallRecord& r) { return SendClientReport("tray_click", r, "10", Target()); },
       false, "&uf=2&bt=3&cv=3.2.1.45&os=" + Os() + "&op=10&ex=tray_click", "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    root_.WriteFile("data/config.ini", "");
    InstallRecord record = record_;
    if (c.empty_game) SetField(record.game.game_id, "");
    const size_t before = Bodies().size();
    EXPECT_TRUE(c.send(record));
    const std::vector<std::string> bodies = Bodies();
    ASSERT_EQ(bodies.size(), before + 1);
    EXPECT_EQ(bodies.back(), std::string("ci=") + kClientId + "&gf=" +
                                 (c.empty_game ? "1" : "tov3") + c.body);
    EXPECT_EQ(IniValue(kGameFromKey), c.game_from);
    EXPECT_EQ(IniValue(kOsVerKey), util::WideToUtf8(util::SystemDescription()));
  }
  EXPECT_TRUE(clock_.Sleeps().empty());
}

TEST_F(StatisticsReportTest, FailedPostsAreRetriedFiveTimesWithAWaitAfterEach) {
  struct Case {
    const char* name;
    std::vector<Step> script;
    bool sent;
    size_t requests;
    std::vector<int64_t> waits;
  };
  const std::vector<Case> cases = {
      {"answered at once", {Step::kAnswer}, true, 1, {}},
      {"an HTTP error status still counts as delivered", {Step::kHttpError}, true, 1, {}},
      {"two failures, then an answer",
       {Step::kUnreachable, Step::kUnreachable, Step::kAnswer}, true, 3, {300, 300}},
      {"answered at the fifth attempt",
       {Step::kUnreachable, Step::kUnreachable, Step::kUnreachable, Step::kUnreachable,
        Step::kAnswer},
       true, 5, {300, 300, 300, 300}},
      {"never answered: five attempts, five waits", {Step::kUnreachable}, false, 5,
       {300, 300, 300, 300, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_ = qv::test::LoopbackServer::StartHttp();
    test::ScriptPath(*server_, kInstallReportPath, c.script);
    clock_.ClearSleeps();
    EXPECT_EQ(SendClientReport("btn_mini", record_, "11", Target()), c.sent);
    const std::vector<std::string> bodies = Bodies();
    ASSERT_EQ(bodies.size(), c.requests);
    for (const std::string& body : bodies) EXPECT_EQ(body, bodies.front());
    EXPECT_EQ(clock_.SleepDurations(), c.waits);
  }
}

TEST_F(StatisticsReportTest, AStopEndsTheReportAtOnce) {
  platform::StopSignal stop;
  test::ScriptPath(*server_, kInstallReportPath, {Step::kUnreachable}, "ok",
                   [&](size_t) { stop.Raise(); });
  EXPECT_FALSE(SendInstallReport(5, 0, record_, false, false, "policy_failed", Target(&stop)));
  EXPECT_EQ(server_->RequestsTo(kInstallReportPath).size(), 1u);
  ASSERT_EQ(clock_.Sleeps().size(), 1u);
  EXPECT_TRUE(clock_.Sleeps()[0].stopped);
  server_->Stop();  // its thread raised `stop`: let it end before the signal goes
}

TEST_F(StatisticsReportTest, ReportsGoToTheServiceAndTheInstallersConfigFile) {
  const ReportTarget target = MakeReportTarget("http://stats.test", nullptr);
  EXPECT_EQ(target.url, "http://stats.test/client/install");
  EXPECT_EQ(util::WideToUtf8(target.config_ini), qv::test::LocalAppDataPath("Qvorvane/config.ini"));
}

TEST(UrlEncodeTest, KeepsUnreservedBytesAndEncodesTheRest) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Linux_64", "Linux_64"},
      {"AZaz09-_.~", "AZaz09-_.~"},
      {"Windows 10", "Windows+10"},
      {"a&b=c/d%", "a%26b%3Dc%2Fd%25"},
      {"\xC3\xA9", "%C3%A9"},
      {std::string("\x00\x7F\xFF", 3), "%00%7F%FF"},
      {"", ""},
  };
  for (const auto& [text, encoded] : cases) EXPECT_EQ(UrlEncode(text), encoded) << text;
}

}  // namespace
}  // namespace qv::workflow
