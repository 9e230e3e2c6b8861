// The App Paths and uninstall entries through which the system finds and removes the client.
#pragma once

#include "workflow/install_context.h"

namespace qv::workflow {

// RegisterUninstallEntry: the App Paths entry (the client "QVORVANE.EXE" in the install folder)
// and the uninstall entry with its nine values in their fixed order, under the machine root; when
// the machine root's uninstall key cannot be opened for writing (no administrator rights), both
// under the current user instead (App Paths may then exist under both). True when the uninstall
// entry was written under either root; single value writes are not examined. Thread-safe.
bool RegisterUninstallEntry(const InstallContext& task);

}  // namespace qv::workflow
