// Replacing the platform folder by the contents of a new platform archive, all or nothing.
//
// The archive is unpacked into a staging folder beside the platform folder
// ("<platform folder>.staging/"); only when every entry was unpacked does the staging folder
// take the platform folder's place, and the previous folder is removed. A damaged archive, a full
// disk or a refused rename leaves the previous platform folder exactly as it was, so a working
// installation is never traded for half of a new one. Runs on the installing task's thread.
#pragma once

#include <string_view>

namespace qv::workflow {

inline constexpr std::u16string_view kStagingSuffix = u".staging";
inline constexpr std::u16string_view kRetiredSuffix = u".previous";

// Unpacks `archive_path` into a fresh staging folder and swaps it in as `platform_folder` (a
// folder path; its final '/' is optional). True when the new files are in place. A leftover
// staging folder from an interrupted run is removed first, after RestoreInterruptedSwap.
bool ReplacePlatformFolder(std::u16string_view archive_path, std::u16string_view platform_folder);

// Puts back the previous installation when a run ended between the two renames of a swap (the
// platform folder missing or empty, its retired copy present): the previous client is then whole and
// where its registration says. True when it restored one. Anything else is left alone.
bool RestoreInterruptedSwap(std::u16string_view platform_folder);

}  // namespace qv::workflow
