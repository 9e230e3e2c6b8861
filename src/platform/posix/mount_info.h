// How the Linux side reads the mount table for the drive list (drives.h). Internal to the
// platform layer and its tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drives.h"

namespace qv::platform {

// One line of /proc/self/mountinfo, as far as the drive rule needs it.
struct MountEntry {
  unsigned major = 0;
  unsigned minor = 0;
  std::string mount_point;  // octal escapes (\040 for a blank) decoded
  std::string fs_type;
  std::string source;
};

// Parses the text of /proc/self/mountinfo; malformed lines are left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The kind of drive a mount is, or nullopt when it is no drive at all (a virtual file system,
// or one not backed by a block device). `removable` is the block device's removable flag.
std::optional<DriveKind> ClassifyMount(const MountEntry& mount, bool removable);

}  // namespace qv::platform
