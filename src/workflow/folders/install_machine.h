// The machine the install steps work on: the installer's folders and the drives a data folder
// may go to.
//
// The program uses the process's own; tests give folders and drives of their own so that nothing
// outside their temporary root is touched. Both are borrowed and outlive every context holding
// them.
#pragma once

#include "platform/drives.h"
#include "util/app_folders.h"

namespace qv::workflow {

struct InstallMachine {
  util::AppFolders* folders = &util::ProcessAppFolders();
  const platform::DriveList* drives = &platform::SystemDriveList();
};

}  // namespace qv::workflow
