#include "platform/drives.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/posix/mount_info.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

TEST(MountInfoTest, ParsesTheFieldsTheDriveRuleNeeds) {
  const std::string text =
      "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
      "30 22 8:17 / /media/usb\\040stick rw,nosuid shared:7 master:2 - vfat /dev/sdb1 rw\n"
      "31 22 0:44 / /mnt/share rw - nfs4 server:/export rw\n"
      "32 22 0:25 / /tmp rw - tmpfs tmpfs rw\n"
      "broken line\n"
      "33 22 x:1 / /bad rw - ext4 /dev/sda1 rw\n";
  const auto mounts = ParseMountInfo(text);
  ASSERT_EQ(mounts.size(), 4u);
  EXPECT_EQ(mounts[0].mount_point, "/");
  EXPECT_EQ(mounts[0].major, 259u);
  EXPECT_EQ(mounts[0].minor, 2u);
  EXPECT_EQ(mounts[0].fs_type, "ext4");
  EXPECT_EQ(mounts[0].source, "/dev/nvme0n1p2");
  EXPECT_EQ(mounts[1].mount_point, "/media/usb stick");
  EXPECT_EQ(mounts[1].fs_type, "vfat");
  EXPECT_EQ(mounts[2].fs_type, "nfs4");
  EXPECT_EQ(mounts[3].source, "tmpfs");
}

TEST(MountInfoTest, OnlyBlockDevicesAreDrivesAndNetworkFileSystemsAreNeverFixed) {
  struct Case {
    MountEntry mount;
    bool removable;
    std::optional<DriveKind> kind;
  };
  const Case cases[] = {
      {{8, 1, "/data", "ext4", "/dev/sda1"}, false, DriveKind::kFixed},
      {{8, 17, "/media/usb", "vfat", "/dev/sdb1"}, true, DriveKind::kRemovable},
      {{0, 44, "/mnt/share", "nfs4", "server:/export"}, false, DriveKind::kNetwork},
      {{0, 45, "/mnt/win", "cifs", "//host/share"}, false, DriveKind::kNetwork},
      {{0, 25, "/tmp", "tmpfs", "tmpfs"}, false, std::nullopt},
      {{0, 5, "/proc", "proc", "proc"}, false, std::nullopt},
      {{0, 30, "/overlay", "overlay", "overlay"}, false, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyMount(c.mount, c.removable), c.kind) << c.mount.mount_point;
  }
}

class SystemDriveListTest : public test::TempRootTest {};

TEST_F(SystemDriveListTest, TheHomeFolderIsTheSystemDriveRoot) {
  const DriveList& drives = SystemDriveList();
  EXPECT_EQ(drives.SystemRoot(), root_.home() + "/");
  const auto roots = drives.Roots();
  const auto system = std::find_if(roots.begin(), roots.end(),
                                   [&](const DriveRoot& d) { return d.root == drives.SystemRoot(); });
  ASSERT_NE(system, roots.end());
  EXPECT_EQ(system->kind, DriveKind::kFixed);
  EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end(),
                             [](const DriveRoot& a, const DriveRoot& b) { return a.root < b.root; }));
  for (const auto& drive : roots) EXPECT_EQ(drive.root.back(), '/') << drive.root;
  EXPECT_TRUE(drives.FreeBytes(drives.SystemRoot()).has_value());
  EXPECT_FALSE(drives.FreeBytes(root_.Path("missing/")).has_value());
}

}  // namespace
}  // namespace qv::platform
