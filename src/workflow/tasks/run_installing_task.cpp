#include "workflow/tasks/run_installing_task.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "transfer/http_result.h"
#include "util/client_identity.h"
#include "util/file_system.h"
#include "util/language_id.h"
#include "util/md5.h"
#include "util/platform_client.h"
#include "util/programs.h"
#include "util/text_conversion.h"
#include "workflow/registration/auto_start_registration.h"
#include "workflow/registration/desktop_entries.h"
#include "workflow/legacy/existing_installation.h"
#include "workflow/packages/install_packages.h"
#include "workflow/folders/install_folders.h"
#include "workflow/shortcuts/launch_line.h"
#include "workflow/legacy/legacy_client.h"
#include "workflow/packages/package_downloads.h"
#include "workflow/packages/package_query.h"
#include "workflow/packages/platform_folder_swap.h"
#include "workflow/shortcuts/shortcuts.h"
#include "workflow/service/statistics_report.h"
#include "workflow/tasks/status_keys.h"

namespace qv::workflow {
namespace {

using transfer::HttpResult;

// The client as the launch looks for it in the install folder (found in any letter case).
constexpr std::u16string_view kLaunchedClientName = u"QVORVANE.EXE";

// The statistics texts of the failures.
constexpr char kQueryRefusedText[] = "policy_failed";
constexpr char kQueryBudgetText[] = "retry_timeout_policy_failed";
constexpr char kExistingInstallationText[] = "old_user";
constexpr char kPlatformDownloadFailedText[] = "retry_timeout_dl_bag_failed";

// Percentage steps of the sequence (the downloads and the install steps add their own).
constexpr int kStartStep = 5;
constexpr int kFinishStep = 99;
constexpr int kCompletedStep = 100;

int32_t TickCount() { return static_cast<int32_t>(platform::CurrentClock().TickCount()); }

// Milliseconds since `start`, in the tick count's wrapping arithmetic.
int32_t TicksSince(uint32_t start) {
  return static_cast<int32_t>(platform::CurrentClock().TickCount() - start);
}

}  // namespace

RunInstallingTask::RunInstallingTask(std::string code, Delegate* delegate,
                                     InstallingEnvironment environment)
    : delegate_(delegate), code_(std::move(code)), environment_(std::move(environment)) {
  context_.machine = environment_.machine;
}

void RunInstallingTask::ReportProgress(std::u16string_view status_key, int state_code) {
  const std::u16string key(state_code == kBudgetExhaustedStateCode ? kStatusFailed : status_key);
  if (delegate_ != nullptr) delegate_->OnProgress(key, state_code, context_.percent);
}

bool RunInstallingTask::WaitAfterFailedAttempt() {
  int64_t wait_ms = kRetryPauseMs;
  if (attempts_ == kLongPauseAtAttempt) {
    wait_ms = kLongRetryPauseMs;
  }
  ++attempts_;
  return platform::CurrentClock().SleepUnlessStopped(wait_ms, stop_signal());
}

ReportTarget RunInstallingTask::StatisticsTarget() const {
  return ReportTarget{environment_.endpoints.stats_base_url + kInstallReportPath,
                      context_.machine.folders->LocalDataFolder() + util::kConfigIniName,
                      &stop_signal()};
}

bool RunInstallingTask::Run() {
  context_.install_folder = context_.machine.folders->PlatformFolder();
  // A previous run cut short in the middle of replacing the client leaves it aside; it is put
  // back first, so that it is found, started, or kept if this run fails.
  RestoreInterruptedSwap(context_.install_folder);
  context_.percent += kStartStep;
  ReportProgress(kStatusDownloading, 0);

  if (!QueryPackage()) return false;
  if (stop_requested()) return false;

  const bool installed = DetectExistingInstallation(context_);
  DeleteUnusedPartialDownloads(context_.record, !installed);
  if (installed) {
    SendInstallReport(TickCount(), 0, context_.record, false, true, kExistingInstallationText,
                      StatisticsTarget());
  } else if (!InstallNewPlatform()) {
    return false;
  }
  if (stop_requested()) return false;
  return Finish();
}

bool RunInstallingTask::QueryPackage() {
  const ReportTarget target = StatisticsTarget();
  std::u16string client_id;
  util::ProcessClientIdentity().GetClientIdWithConfig(target.config_ini, client_id);
  const std::string language = util::CurrentLanguageId();

  bool valid = false;
  HttpResult result = HttpResult::kSuccess;
  attempts_ = 0;
  while (attempts_ < kAttemptBudget) {
    valid = QueryPackageInfo(code_, language, util::WideToUtf8(client_id), context_.record,
                             result, environment_.endpoints, &stop_signal());
    if (stop_requested()) return false;
    if (result == HttpResult::kSuccess) break;
    if (!WaitAfterFailedAttempt()) return false;
  }

  if (!valid) {
    if (delegate_ != nullptr) delegate_->OnPackageInfoFailed();
    const bool budget_spent = attempts_ >= kAttemptBudget;
    const int state_code = budget_spent ? kBudgetExhaustedStateCode : static_cast<int>(result);
    ReportProgress(kStatusFailed, state_code);
    SendInstallReport(0, 0, context_.record, true, false, "", target);
    SendInstallReport(TickCount(), 0, context_.record, false, false,
                      budget_spent ? kQueryBudgetText : kQueryRefusedText, target);
    return false;
  }

  SendInstallReport(0, 0, context_.record, true, false, "", target);
  if (delegate_ != nullptr) {
    delegate_->OnInstallRecord(context_.record);
    delegate_->OnPackageInfo(context_.record.game);
  }
  context_.percent += 1;
  ReportProgress(kStatusDownloading, 0);
  return true;
}

bool RunInstallingTask::ClosePlatformProcesses() {
  for (int pass = 0; pass < kMaxProcessClosingPasses; ++pass) {
    bool found = false;
    for (const std::u16string_view name : util::kClientProcessNames) {
      const pid_t pid = util::FindProcess(name, *environment_.processes);
      if (pid == 0) continue;
      found = true;
      environment_.processes->Terminate(pid);
    }
    if (!found) return true;
    if (!platform::CurrentClock().SleepUnlessStopped(kProcessClosingPauseMs, stop_signal())) {
      return false;
    }
  }
  return true;
}

bool RunInstallingTask::InstallNewPlatform() {
  if (!ClosePlatformProcesses()) return false;
  context_.percent += 1;
  ReportProgress(kStatusDownloading, 0);
  context_.percent += 1;
  ReportProgress(kStatusDownloading, 0);

  const uint32_t download_start = platform::CurrentClock().TickCount();
  PackageDownloads downloads(
      DownloadTaskView{context_.record, context_.percent,
                       [this](std::u16string_view key, int code) { ReportProgress(key, code); },
                       &stop_signal()},
      environment_.endpoints);

  std::u16string platform_archive;
  HttpResult platform_result = HttpResult::kFailed;
  bool platform_done = false;
  while (!platform_done && attempts_ < kAttemptBudget) {
    platform_done = downloads.DownloadPlatformInstaller(platform_archive, platform_result);
    if (stop_requested()) return false;
    if (!platform_done && !WaitAfterFailedAttempt()) return false;
  }

  std::u16string package;
  bool package_done = false;
  int downloads_state = 0;
  if (platform_done && WantsPluginPackage()) {
    HttpResult package_result = HttpResult::kSuccess;
    while (!package_done && attempts_ < kAttemptBudget) {
      package_done = downloads.DownloadPluginPackage(package, package_result);
      if (stop_requested()) return false;
      if (package_done && !PluginPackageMatchesDigest(package)) {
        // A package that is not what the answer announced counts as a failed attempt, so a
        // package that never matches cannot keep the installation downloading for ever. The
        // next attempt starts from its first byte: a bad join is never installed.
        PackageDownloads::Discard(package);
        package_done = false;
      }
      if (!package_done && !WaitAfterFailedAttempt()) return false;
    }
    // The run goes on without the package; nothing of it is left for a later run, which finds
    // the platform installed and does not fetch it.
    if (!package_done) PackageDownloads::Discard(package);
    downloads_state = static_cast<int>(package_result);
  }
  const int32_t download_time = TicksSince(download_start);

  const ReportTarget target = StatisticsTarget();
  if (!platform_done) {
    const bool budget_spent = attempts_ >= kAttemptBudget;
    ReportProgress(kStatusFailed, budget_spent ? kBudgetExhaustedStateCode
                                               : static_cast<int>(platform_result));
    SendInstallReport(static_cast<int32_t>(platform::CurrentClock().TickCount() -
                                           static_cast<uint32_t>(download_time)),
                      0, context_.record, false, false,
                      kPlatformDownloadFailedText, target);
    return false;
  }

  const uint32_t install_start = platform::CurrentClock().TickCount();
  context_.percent += 1;
  ReportProgress(kStatusDownloading, downloads_state);

  PackageInstallView view{
      context_, [this](std::u16string_view key, int code) { ReportProgress(key, code); },
      &stop_signal(), target};
  const bool installed = InstallPackages(package, view, platform_archive, package_done);
  const int32_t install_time = TicksSince(install_start);
  if (stop_requested()) return false;
  if (!installed) {
    SendInstallReport(download_time, install_time, context_.record, false, false,
                      kExtractFailedReportText, target);
    ReportProgress(kStatusFailed, kExtractFailedStateCode);
    return false;
  }
  SendInstallReport(download_time, install_time, context_.record, false, true, "", target);
  return true;
}

bool RunInstallingTask::WantsPluginPackage() const {
  return context_.record.game.game_id[0] != '\0' && context_.record.ver_air > 0 &&
         context_.record.url_air[0] != '\0';
}

bool RunInstallingTask::PluginPackageMatchesDigest(const std::u16string& package) const {
  const std::string digest = FieldText(context_.record.md5);
  return digest.empty() || util::Md5Matches(digest, package);
}

std::vector<std::u16string> RunInstallingTask::FoldersToKeep() const {
  std::vector<std::u16string> folders = OwnFolders(*context_.machine.folders);
  // The data folder holds the user's games; it is remembered once it has been chosen.
  std::u16string data_folder = RememberedDataFolder(context_.machine);
  if (!data_folder.empty()) folders.push_back(std::move(data_folder));
  return folders;
}

bool RunInstallingTask::Finish() {
  context_.percent += kFinishStep;
  ReportProgress(kStatusInstalling, 0);
  CreateShortcuts(context_);
  const bool start_at_log_on =
      RegisterAutoStart(util::kClientAutoStartArgument, *context_.machine.folders);
  RegisterDesktopEntries(context_, start_at_log_on, environment_.program_icons);
  DeleteLegacyAutoStart();
  RemoveLegacyClient(FoldersToKeep(), *environment_.processes);
  if (stop_requested()) return false;

  const std::u16string client = context_.install_folder + std::u16string(kLaunchedClientName);
  if (util::IsFile(client)) {
    util::RunProgram(client, BuildLaunchArguments(context_.record, code_),
                     context_.install_folder);
  }
  context_.percent += kCompletedStep;
  ReportProgress(kStatusCompleted, 0);
  return true;
}

}  // namespace qv::workflow
