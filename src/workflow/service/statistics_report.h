// The reports to the statistics service: one form POST per event, retried a few times and then
// forgotten. They live in the workflow layer because the installing task and the install steps
// send them, and the controller and the windows (above) call them from here.
//
// Threads: any thread; each call uses its own request. The only shared resource is the
// installer's config.ini, whose writer serialises itself. A call blocks its thread for up to
// kReportAttempts transfers and as many waits of kReportRetryWaitMs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "workflow/packages/install_record.h"
#include "workflow/records/installer_config.h"

namespace qv::workflow {

inline constexpr char kInstallReportPath[] = "/client/install";
inline constexpr int kReportAttempts = 5;
// Waited after every failed attempt, the last one included.
inline constexpr int64_t kReportRetryWaitMs = 300;

// Where a report goes and what it may touch.
struct ReportTarget {
  std::string url;             // the statistics endpoint (base URL + kInstallReportPath)
  std::u16string config_ini;   // the installer's config.ini (client id, os_ver, game_from)
  // Ends the waits and the running transfer at once (the report is then dropped). Borrowed; null
  // when the caller cannot be stopped (a window's button).
  const platform::StopSignal* stop = nullptr;
};

// The endpoint on `stats_base_url` with the local data folder's config.ini.
ReportTarget MakeReportTarget(const std::string& stats_base_url, const platform::StopSignal* stop);
// The build's statistics endpoint and the local data folder's config.ini; cannot be stopped.
ReportTarget DefaultReportTarget();

// The installing task's milestones. op 1 when `first` (no durations, game_from untouched), else
// op 2 when `second`, else op 5; ops 2 and 5 carry d_tick = `d` and i_tick = `i` and record the
// game in game_from. True when a POST went through.
bool SendInstallReport(int32_t d, int32_t i, const InstallRecord& record, bool first, bool second,
                       const std::string& ex, const ReportTarget& target = DefaultReportTarget());

// A user action or an install step's failure, with the caller's op and extra text; never sends
// durations or game_from. True when a POST went through.
bool SendClientReport(const std::string& ex, const InstallRecord& record, const std::string& op,
                      const ReportTarget& target = DefaultReportTarget());

}  // namespace qv::workflow
