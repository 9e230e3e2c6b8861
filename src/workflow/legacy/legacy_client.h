// Removing the featured game's older stand-alone client.
#pragma once

#include <string>
#include <vector>

#include "platform/process_table.h"
#include "workflow/legacy/legacy_folder_guard.h"

namespace qv::workflow {

// Deletes the old client's start-up value "TOV3" from the current user's Run key (absence is no
// error). The installing task does this just before RemoveLegacyClient. Thread-safe.
void DeleteLegacyAutoStart();

// RemoveLegacyClient: when the current user's "SOFTWARE\TOV3" key holds "tov3path" (the old
// client's executable, '/' or '\' separated): ends the first running process with that
// executable's name, empties and removes the executable's folder unless LegacyFolderToRemove
// refuses it (`own_folders` are the folders that must survive), and deletes the old client's
// desktop shortcut. Then the key is deleted, whether or not it held a value, so that later runs
// do nothing. Failures are passed over. Thread-safe.
void RemoveLegacyClient(const std::vector<std::u16string>& own_folders = OwnFolders(),
                        const platform::ProcessTable& processes = platform::SystemProcessTable());

}  // namespace qv::workflow
