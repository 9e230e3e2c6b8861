// The second package: the runtime plug-in or the featured game's package.
#include <string>
#include <string_view>

#include "util/app_folders.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/text_conversion.h"
#include "util/unzipper.h"
#include "workflow/records/app_list.h"
#include "workflow/folders/delete_path.h"
#include "workflow/folders/install_folders.h"
#include "workflow/packages/install_packages.h"
#include "workflow/records/local_records.h"
#include "workflow/records/package_file_list.h"
#include "workflow/packages/record_text.h"
#include "workflow/tasks/status_keys.h"

namespace qv::workflow {
namespace {

// The plug-in folder holds only the new package's files afterwards.
bool InstallRuntimePlugin(PackageInstallView& task, const std::u16string& package_path) {
  const std::u16string plugin_folder =
      task.context.machine.folders->LocalDataFolder() + util::SystemPath(kRuntimePluginSubPath);
  DeletePath(plugin_folder);
  if (!util::IsDirectory(plugin_folder)) util::CreateDirectoryTree(plugin_folder);
  const bool unpacked =
      util::ExtractArchive(util::WideToAnsi(package_path), util::WideToAnsi(plugin_folder));
  AdvanceInstallProgress(task, kStatusExtracting);
  DeletePath(package_path);
  // A plug-in that did not unpack whole is not recorded as installed, so the client fetches it.
  return unpacked && WriteRuntimePluginRecord(task.context);
}

bool InstallGamePackage(PackageInstallView& task, const std::u16string& package_path) {
  const InstallContext& context = task.context;
  // An id or version that cannot name a file gives no kept copy: nothing is copied, unpacked
  // or listed.
  const std::u16string kept_copy = KeptPackageCopyPath(context);
  if (kept_copy.empty()) {
    DeletePath(package_path);
    return false;
  }
  util::CopyFileContents(package_path, kept_copy);
  // The kept copy is the package from now on; the download leaves nothing in the temporary folder.
  DeletePath(package_path);
  AdvanceInstallProgress(task, kStatusExtracting);

  const std::u16string files_folder = GetGameFilesFolder(context);
  if (util::IsFile(kept_copy)) {
    // A package that did not unpack whole is no installed game, whatever its list says.
    if (files_folder.empty() ||
        !util::ExtractArchive(util::WideToAnsi(kept_copy), util::WideToAnsi(files_folder)) ||
        !VerifyPackageFiles(context)) {
      return false;
    }
  }
  UpdateAppList(util::WideToUtf8(kept_copy), context);
  AdvanceInstallProgress(task, kStatusExtracting);
  WriteGameInfoRecord(context);
  AdvanceInstallProgress(task, kStatusExtracting);
  return true;
}

}  // namespace

bool InstallSecondPackage(PackageInstallView& task, const std::u16string& package_path) {
  if (RecordText(task.context.record.game.game_id) == kRuntimePluginGameId) {
    return InstallRuntimePlugin(task, package_path);
  }
  return InstallGamePackage(task, package_path);
}

}  // namespace qv::workflow
