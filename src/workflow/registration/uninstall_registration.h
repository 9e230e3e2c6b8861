// The App Paths and uninstall entries through which the system finds and removes the client.
#pragma once

#include "workflow/tasks/install_context.h"

namespace qv::workflow {

// RegisterUninstallEntry: the uninstall entry with its nine values in their fixed order, under
// the machine root; when the machine root's uninstall key cannot be opened for writing (no
// administrator rights), under the current user instead. True when the entry was written under
// either root; single value writes are not examined. Thread-safe.
bool RegisterUninstallEntry(const InstallContext& task);

// RegisterAppPaths: the App Paths entry (the client "QVORVANE.EXE" in the install folder) under
// the machine root, and under the current user as well when the machine root's uninstall key
// cannot be opened for writing. This entry is what marks the client as installed for later runs,
// so an installation writes it last: a run cut short before it is installed again next time
// instead of being taken for a complete installation. Thread-safe.
void RegisterAppPaths(const InstallContext& task);

}  // namespace qv::workflow
