// Choosing the drive that large downloads and game installations go to.
#pragma once

#include <cstdint>
#include <string>

#include "platform/drives.h"

namespace qv::util {

// Only this many drive roots are looked at, lowest first (as with drive letters).
inline constexpr size_t kMaxDriveRoots = 20;

// Chooses among the fixed drives other than the system drive those with strictly more than
// `space_kb` kilobytes free for this user, and takes the lowest root; when none qualifies, the
// system root, whatever its free space. Removable and network drives are never chosen. On success
// `root` is the chosen root (ending in '/', spelt as the drive list gives it) and `space_kb` its
// free space in kilobytes (0 when it cannot be asked). False only when there is neither a system
// root nor a candidate.
bool ChooseInstallDrive(uint64_t& space_kb, std::u16string& root, const platform::DriveList& drives);
bool ChooseInstallDrive(uint64_t& space_kb, std::u16string& root);

}  // namespace qv::util
