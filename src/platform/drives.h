// The drives a large download or a game may go to.
//
// On Windows: the logical drives (GetLogicalDriveStringsW) with their kind (GetDriveTypeW),
// roots in lower case ("d:\\"), the system drive being the one of the system folder, free space
// as available to the user (GetDiskFreeSpaceExW). On Linux: the file system holding the home
// folder stands for the system drive, with the home folder as its root; the other fixed drives
// are the mount points of local, non-removable block-device file systems that this user can
// write to. Removable and network file systems are listed with their kind so that a chooser can
// pass them over. Roots are UTF-8 and end in their separator.
// SystemDriveList() reads the machine; tests give a DriveList of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::platform {

enum class DriveKind { kFixed, kRemovable, kNetwork };

struct DriveRoot {
  std::string root;
  DriveKind kind = DriveKind::kFixed;
};

class DriveList {
 public:
  virtual ~DriveList() = default;
  // The system drive's root (the home folder + '/').
  virtual std::string SystemRoot() const = 0;
  // Every drive, the system drive included, lowest root first.
  virtual std::vector<DriveRoot> Roots() const = 0;
  // Bytes this user may still write below `root`; nullopt when it cannot be asked.
  virtual std::optional<uint64_t> FreeBytes(const std::string& root) const = 0;
};

// The drives of this machine. Lives for the whole process; thread-safe (reads afresh each call).
const DriveList& SystemDriveList();

}  // namespace qv::platform
