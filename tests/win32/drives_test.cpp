// The drives on Windows: the prefix's logical drives, as the system lists them.
#include "platform/drives.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv::platform {
namespace {

TEST(DrivesTest, TheSystemDriveIsAFixedDriveWithSpaceInLowerCase) {
  const DriveList& drives = SystemDriveList();
  const std::string system = drives.SystemRoot();
  ASSERT_EQ(system.size(), 3u);
  EXPECT_TRUE(system[0] >= 'a' && system[0] <= 'z') << system;
  EXPECT_EQ(system.substr(1), ":\\");
  const auto roots = drives.Roots();
  const auto found = std::find_if(roots.begin(), roots.end(),
                                  [&](const DriveRoot& drive) { return drive.root == system; });
  ASSERT_NE(found, roots.end());
  EXPECT_EQ(found->kind, DriveKind::kFixed);
  for (const DriveRoot& drive : roots) {
    EXPECT_EQ(drive.root.size(), 3u) << drive.root;
    EXPECT_EQ(drive.root.back(), '\\') << drive.root;
  }
  EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end(), [](const DriveRoot& a, const DriveRoot& b) {
    return a.root < b.root;
  }));
  ASSERT_TRUE(drives.FreeBytes(system).has_value());
  EXPECT_GT(*drives.FreeBytes(system), 0u);
  EXPECT_EQ(drives.FreeBytes("q:\\no such drive\\"), std::nullopt);
}

}  // namespace
}  // namespace qv::platform
