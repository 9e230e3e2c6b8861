// Recognising a platform client installed by an earlier run.
#pragma once

#include "workflow/tasks/install_context.h"

namespace qv::workflow {

// DetectExistingInstallation: reads the uninstall entry's "InstallLocation" into
// task.install_folder and the App Paths entry into task.exe_path, under the machine root, then
// (unless the machine root's App Paths entry was read) under the current user. True when the
// executable exists and the install folder holds "uninstall.exe". The install folder is replaced
// as soon as a location is read, also when the result is false; values are taken as stored
// (text of at most 259 characters). File names match without regard to letter case.
// Thread-safe.
bool DetectExistingInstallation(InstallContext& task);

}  // namespace qv::workflow
