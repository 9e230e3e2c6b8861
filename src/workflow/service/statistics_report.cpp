#include "workflow/service/statistics_report.h"

#include <optional>

#include "platform/private_profile.h"
#include "qv/deployment_settings.h"
#include "transfer/http.h"
#include "util/app_folders.h"
#include "util/client_identity.h"
#include "util/system_description.h"
#include "util/text_conversion.h"
#include "util/text_format.h"
#include "workflow/service/url_encode.h"

namespace qv::workflow {
namespace {

// The gf value and game_from when the record names no game.
constexpr char kNoGame[] = "1";

struct Durations {
  int32_t d_tick;
  int32_t i_tick;
};

// Builds one report body. The order and the encodings are what the service parses: only os is
// percent-encoded, and ex goes as it is. Writes os_ver (and game_from when durations are sent)
// into config.ini on the way; a failed write does not stop the report.
std::string BuildReportBody(const InstallRecord& record, const std::optional<Durations>& durations,
                            const std::string& op, const std::string& ex,
                            const std::string& config_ini) {
  std::u16string client_id;
  util::GetClientIdWithConfig(util::Utf8ToWide(config_ini), client_id);
  const std::string game_id = FieldText(record.game.game_id);
  const std::string game = game_id.empty() ? kNoGame : game_id;

  std::string body = "ci=" + util::WideToUtf8(client_id);
  body += "&gf=" + game;
  body += util::FormatText("&uf=%d", record.user_from);
  body += util::FormatText("&bt=%d", record.business_type);
  if (durations) {
    platform::WritePrivateProfileString(kRecordSection, kGameFromKey,
                                        util::WideToUtf8(util::AnsiToWide(game)), config_ini);
    body += util::FormatText("&d_tick=%d", durations->d_tick);
    body += util::FormatText("&i_tick=%d", durations->i_tick);
  }
  body += "&cv=" + util::FormatText("%s.%d", FieldText(record.version).c_str(), record.ver);
  const std::u16string os = util::SystemDescription();
  platform::WritePrivateProfileString(kRecordSection, kOsVerKey, util::WideToUtf8(os),
                                      config_ini);
  body += "&os=" + UrlEncode(util::WideToUtf8(os));
  body += "&op=" + op;
  body += "&ex=" + ex;
  return body;
}

bool PostReport(const InstallRecord& record, const std::optional<Durations>& durations,
                const std::string& op, const std::string& ex, const ReportTarget& target) {
  static const platform::StopSignal kNeverStopped;
  const platform::StopSignal& stop = target.stop != nullptr ? *target.stop : kNeverStopped;
  const std::string config_ini = util::WideToUtf8(target.config_ini);
  for (int attempt = 0; attempt < kReportAttempts; ++attempt) {
    // Built afresh for every attempt, as the client id or the system text may have changed.
    const std::string body = BuildReportBody(record, durations, op, ex, config_ini);
    transfer::CHttp http;
    http.SetCancelSignal(target.stop);
    std::string answer;
    if (http.Post(target.url, answer, body) == transfer::HttpResult::kSuccess) return true;
    if (!platform::CurrentClock().SleepUnlessStopped(kReportRetryWaitMs, stop)) return false;
  }
  return false;
}

}  // namespace

ReportTarget MakeReportTarget(const std::string& stats_base_url,
                              const platform::StopSignal* stop) {
  return ReportTarget{stats_base_url + kInstallReportPath,
                      util::LocalDataFolder() + util::kConfigIniName, stop};
}

ReportTarget DefaultReportTarget() { return MakeReportTarget(settings::kStatsBaseUrl, nullptr); }

bool SendInstallReport(int32_t d, int32_t i, const InstallRecord& record, bool first, bool second,
                       const std::string& ex, const ReportTarget& target) {
  if (first) return PostReport(record, std::nullopt, "1", ex, target);
  return PostReport(record, Durations{d, i}, second ? "2" : "5", ex, target);
}

bool SendClientReport(const std::string& ex, const InstallRecord& record, const std::string& op,
                      const ReportTarget& target) {
  return PostReport(record, std::nullopt, op, ex, target);
}

}  // namespace qv::workflow
