#include "workflow/packages/install_packages.h"

#include <string>

#include "platform/clock.h"
#include "util/app_folders.h"
#include "workflow/folders/delete_path.h"
#include "workflow/records/local_records.h"
#include "workflow/packages/platform_folder_swap.h"
#include "workflow/tasks/status_keys.h"
#include "workflow/registration/uninstall_registration.h"
#include "workflow/registration/url_protocol_registration.h"

namespace qv::workflow {
void AdvanceInstallProgress(PackageInstallView& task, std::u16string_view status) {
  task.context.percent += 1;
  if (task.report_progress) task.report_progress(status, 0);
}

bool InstallPackages(const std::u16string& package_path, PackageInstallView& task,
                     const std::u16string& platform_archive_path, bool package_present) {
  InstallContext& context = task.context;
  AdvanceInstallProgress(task, kStatusExtracting);
  const std::u16string platform_folder = context.machine.folders->PlatformFolder();
  AdvanceInstallProgress(task, kStatusExtracting);
  const bool unpacked = ReplacePlatformFolder(platform_archive_path, platform_folder);
  DeletePath(platform_archive_path);
  if (!unpacked) {
    // The run ends here: the second package downloaded for it is not left behind either.
    if (package_present) DeletePath(package_path);
    return false;
  }
  AdvanceInstallProgress(task, kStatusExtracting);

  if (package_present) InstallSecondPackage(task, package_path);

  AdvanceInstallProgress(task, kStatusInstalling);
  static const platform::StopSignal kNeverStopped;
  platform::CurrentClock().SleepUnlessStopped(kRegistrationPauseMs,
                                              task.stop != nullptr ? *task.stop : kNeverStopped);
  if (!RegisterUninstallEntry(context)) {
    SendClientReport(kRegistrationFailedEvent, context.record, kRegistrationFailedOp,
                     task.report_target);
  }
  RegisterUrlProtocol(*context.machine.folders);
  AdvanceInstallProgress(task, kStatusInstalling);
  WritePlatformVersionRecord(context);
  RegisterAppPaths(context);  // last: from now on the client counts as installed
  AdvanceInstallProgress(task, kStatusInstalling);
  return true;
}

}  // namespace qv::workflow
