// The limits of the legacy client's folder removal.
//
// The old client's folder comes from a registry value that anyone may have written; emptying it
// must never reach beyond that one folder. Thread-safe.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "util/app_folders.h"

namespace qv::workflow {

// The least number of components a removable folder has below its root ("/opt/tov3" and
// "C:\Games\tov3" have two).
inline constexpr size_t kMinLegacyFolderDepth = 2;

// Our own folders, which the removal never empties by way of a folder that holds them: the five
// application folders and the machine root of the stand-in platform.
std::vector<std::u16string> OwnFolders(util::AppFolders& folders = util::ProcessAppFolders());

// The canonical path (UTF-8, no links, no final separator) of the folder that may be emptied for
// the old client's folder `folder`, or nullopt when it is refused: empty or relative text (on
// Windows also a network share or a "\\?\" name), a folder that does not exist or is itself a
// symbolic link, one fewer than kMinLegacyFolderDepth levels deep (so a root too), the home folder or any folder above it, and any folder that is or
// holds one of `own_folders`. The tests are made on the canonical path, so no link leads around
// them.
std::optional<std::string> LegacyFolderToRemove(std::u16string_view folder,
                                                const std::vector<std::u16string>& own_folders);

}  // namespace qv::workflow
