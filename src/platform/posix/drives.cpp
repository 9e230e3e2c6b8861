#include "platform/drives.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/known_folders.h"
#include "platform/posix/mount_info.h"
#include "platform/whole_file.h"

namespace qv::platform {
namespace {

constexpr char kMountInfo[] = "/proc/self/mountinfo";
constexpr std::string_view kBlockDevicePrefix = "/dev/";
// Network and cluster file systems: never a fixed drive, whatever backs them.
constexpr std::array<std::string_view, 12> kNetworkFileSystems = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "ceph", "glusterfs", "fuse.sshfs",
    "davfs"};

// mountinfo writes blank, tab, newline and backslash in a path as \ooo.
std::string DecodeOctalEscapes(std::string_view text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      const std::string_view digits = text.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        decoded.push_back(static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                            (digits[2] - '0')));
        i += 3;
        continue;
      }
    }
    decoded.push_back(text[i]);
  }
  return decoded;
}

bool ParseNumber(std::string_view text, unsigned& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

// The removable flag of a block device, from sysfs; a partition carries it on its disk.
bool IsRemovable(unsigned major_number, unsigned minor_number) {
  const std::string device =
      "/sys/dev/block/" + std::to_string(major_number) + ":" + std::to_string(minor_number);
  for (const std::string& file : {device + "/removable", device + "/../removable"}) {
    std::ifstream in(file);
    char flag = '0';
    if (in >> flag) return flag == '1';
  }
  return false;
}

class MachineDriveList final : public DriveList {
 public:
  std::string SystemRoot() const override { return WithSlash(HomeFolder()); }

  std::vector<DriveRoot> Roots() const override {
    const std::string system_root = SystemRoot();
    std::vector<DriveRoot> roots{{system_root, DriveKind::kFixed}};
    struct stat home_info {};
    const bool home_known = stat(system_root.c_str(), &home_info) == 0;
    // An unreadable mount table leaves the system drive alone in the list.
    std::string text;
    ReadFileAsIs(kMountInfo, text);
    for (const MountEntry& mount : ParseMountInfo(text)) {
      const auto kind = ClassifyMount(mount, IsRemovable(mount.major, mount.minor));
      if (!kind) continue;
      struct stat info {};
      if (stat(mount.mount_point.c_str(), &info) != 0) continue;
      // The home folder's own file system is the system drive, already listed.
      if (home_known && info.st_dev == home_info.st_dev) continue;
      if (access(mount.mount_point.c_str(), W_OK) != 0) continue;
      const std::string root = WithSlash(mount.mount_point);
      const bool known = std::any_of(roots.begin(), roots.end(),
                                     [&](const DriveRoot& listed) { return listed.root == root; });
      if (!known) roots.push_back({root, *kind});
    }
    std::sort(roots.begin(), roots.end(),
              [](const DriveRoot& a, const DriveRoot& b) { return a.root < b.root; });
    return roots;
  }

  std::optional<uint64_t> FreeBytes(const std::string& root) const override {
    struct statvfs info {};
    if (statvfs(root.c_str(), &info) != 0) return std::nullopt;
    return static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
  }
};

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    // id parent major:minor root mount-point options [optional fields...] - type source options
    std::istringstream fields(line);
    std::string id, parent, device, root, mount_point, options;
    if (!(fields >> id >> parent >> device >> root >> mount_point >> options)) continue;
    std::string field;
    while (fields >> field && field != "-") {
    }
    MountEntry mount;
    if (field != "-" || !(fields >> mount.fs_type >> mount.source)) continue;
    const auto colon = device.find(':');
    if (colon == std::string::npos) continue;
    if (!ParseNumber(std::string_view(device).substr(0, colon), mount.major) ||
        !ParseNumber(std::string_view(device).substr(colon + 1), mount.minor)) {
      continue;
    }
    mount.mount_point = DecodeOctalEscapes(mount_point);
    mount.source = DecodeOctalEscapes(mount.source);
    mounts.push_back(std::move(mount));
  }
  return mounts;
}

std::optional<DriveKind> ClassifyMount(const MountEntry& mount, bool removable) {
  if (std::find(kNetworkFileSystems.begin(), kNetworkFileSystems.end(), mount.fs_type) !=
      kNetworkFileSystems.end()) {
    return DriveKind::kNetwork;
  }
  if (mount.major == 0 || !std::string_view(mount.source).starts_with(kBlockDevicePrefix)) {
    return std::nullopt;
  }
  return removable ? DriveKind::kRemovable : DriveKind::kFixed;
}

const DriveList& SystemDriveList() {
  static const MachineDriveList drives;
  return drives;
}

}  // namespace qv::platform
