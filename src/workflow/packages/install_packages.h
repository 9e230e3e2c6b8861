// Installing the downloaded packages: the platform archive into the platform folder, then the
// second package (the runtime plug-in or the game's package), then the platform's registration
// and version record.
//
// Thread: everything runs on the installing task's worker thread, on the task's InstallContext;
// the view borrows the task's parts and lives no longer than the call.
//
// Progress: each step adds 1 to the context's percent and then reports "Extracting..." or
// "Installing..." with code 0. A run without a second package takes 6 steps, with the runtime
// plug-in 7, with a game package 9 (7 when the package fails its file check).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "workflow/tasks/install_context.h"
#include "workflow/service/statistics_report.h"

namespace qv::workflow {

// The game id of the runtime plug-in (compared byte for byte).
inline constexpr std::string_view kRuntimePluginGameId = "312";
// The runtime plug-in's folder below the local data folder.
inline constexpr std::u16string_view kRuntimePluginSubPath = u"plugin/air/";
// Pause before the registration, so that the unpacked client's files have settled.
inline constexpr int64_t kRegistrationPauseMs = 100;
// The report sent when the uninstall registration could not be written.
inline constexpr char kRegistrationFailedEvent[] = "regedit_fail";
inline constexpr char kRegistrationFailedOp[] = "15";
// When the platform archive cannot be unpacked, the installing task sends its op 5 report with
// this extra text and ends with "Failed..." and this state code (HttpResult::kFailed).
inline constexpr char kExtractFailedReportText[] = "extract_failed";
inline constexpr int kExtractFailedStateCode = 6;

// The part of the installing task the package installation works on.
struct PackageInstallView {
  InstallContext& context;
  // The task's ReportProgress(status key, state code); it does not change the percent.
  std::function<void(std::u16string_view status_key, int state_code)> report_progress;
  const platform::StopSignal* stop = nullptr;  // the task's stop signal; ends the pause early
  ReportTarget report_target = DefaultReportTarget();
};

// One progress step: the context's percent + 1, then the report of `status` with code 0.
void AdvanceInstallProgress(PackageInstallView& task, std::u16string_view status);

// Installs the platform archive (`platform_archive_path`, deleted afterwards) and, when
// `package_present`, the second package; then registers the platform and writes its version
// record. False only when the platform archive could not be unpacked: the previous platform
// folder is kept, nothing is registered or written, and the caller reports the failure
// (kExtractFailedReportText, kExtractFailedStateCode).
bool InstallPackages(const std::u16string& package_path, PackageInstallView& task,
                     const std::u16string& platform_archive_path, bool package_present);

// Installs the second package by the record's game id: the runtime plug-in into its folder
// (with its record in qvorvane.ini; the package file is deleted), or a game package (kept as a
// copy in the download folder, the package file then deleted, unpacked into the game files
// folder, checked against its file list, then listed in list.dat and recorded in info.ini). False when the game package failed
// its file check: no list entry, no info.ini, no further progress.
bool InstallSecondPackage(PackageInstallView& task, const std::u16string& package_path);

}  // namespace qv::workflow
