#include "workflow/records/installer_config.h"

#include "util/file_paths.h"

namespace qv::workflow {

std::string InstallerConfigPath(util::AppFolders& folders) {
  return util::ToPlatformPath(folders.LocalDataFolder() + util::kConfigIniName);
}

}  // namespace qv::workflow
