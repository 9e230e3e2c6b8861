#include "util/install_drive.h"

#include <gtest/gtest.h>

#include "fake_drive_list.h"

namespace qv::util {
namespace {

using platform::DriveKind;
using test::FakeDriveList;

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;
constexpr uint64_t kNeededKb = 5242880;  // 5 GiB

// c: is the system drive (the home folder), d: and e: further fixed drives.
FakeDriveList ThreeDrives(uint64_t d_free) {
  FakeDriveList drives;
  drives.roots = {{"/mnt/e/", DriveKind::kFixed}, {"/home/user/", DriveKind::kFixed},
                  {"/mnt/d/", DriveKind::kFixed}};
  drives.free_bytes = {{"/home/user/", 200 * kGiB}, {"/mnt/d/", d_free}, {"/mnt/e/", 300 * kGiB}};
  return drives;
}

TEST(ChooseInstallDriveTest, TheLowestQualifyingDriveWinsWhateverItsSpaceBeyondTheNeed) {
  struct Case {
    uint64_t d_free;
    std::u16string root;
    uint64_t space_kb;
  };
  const Case cases[] = {
      {4 * kGiB, u"/mnt/e/", 300 * kGiB / 1024},
      {6 * kGiB, u"/mnt/d/", 6 * kGiB / 1024},
      {kNeededKb * 1024, u"/mnt/e/", 300 * kGiB / 1024},         // equal is not more
      {kNeededKb * 1024 + 1023, u"/mnt/e/", 300 * kGiB / 1024},  // still 5 GiB in whole KB
      {kNeededKb * 1024 + 1024, u"/mnt/d/", kNeededKb + 1},
  };
  for (const auto& c : cases) {
    uint64_t space = kNeededKb;
    std::u16string root;
    ASSERT_TRUE(ChooseInstallDrive(space, root, ThreeDrives(c.d_free))) << c.d_free;
    EXPECT_EQ(root, c.root) << c.d_free;
    EXPECT_EQ(space, c.space_kb) << c.d_free;
  }
}

TEST(ChooseInstallDriveTest, TheSystemRootIsReturnedWhenNothingElseQualifies) {
  FakeDriveList drives;
  drives.roots = {{"/home/user/", DriveKind::kFixed},
                  {"/media/stick/", DriveKind::kRemovable},
                  {"/mnt/share/", DriveKind::kNetwork},
                  {"/mnt/unaskable/", DriveKind::kFixed}};
  drives.free_bytes = {{"/home/user/", 1 * kGiB}, {"/media/stick/", 900 * kGiB},
                       {"/mnt/share/", 900 * kGiB}};
  uint64_t space = kNeededKb;
  std::u16string root;
  ASSERT_TRUE(ChooseInstallDrive(space, root, drives));
  EXPECT_EQ(root, u"/home/user/");
  EXPECT_EQ(space, 1 * kGiB / 1024);  // its free space, although short of the need
}

TEST(ChooseInstallDriveTest, OnlyTheFirstRootsAreLookedAtAndTheirSpellingIsKept) {
  FakeDriveList drives;
  for (size_t i = 0; i < kMaxDriveRoots; ++i) {
    drives.roots.push_back({"/mnt/small" + std::to_string(i) + "/", DriveKind::kFixed});
  }
  drives.roots.push_back({"/mnt/Big/", DriveKind::kFixed});  // the 21st
  drives.free_bytes = {{"/home/user/", 7 * kGiB}, {"/mnt/Big/", 900 * kGiB}};
  uint64_t space = kNeededKb;
  std::u16string root;
  ASSERT_TRUE(ChooseInstallDrive(space, root, drives));
  EXPECT_EQ(root, u"/home/user/");

  drives.roots.erase(drives.roots.begin());
  space = kNeededKb;
  ASSERT_TRUE(ChooseInstallDrive(space, root, drives));
  EXPECT_EQ(root, u"/mnt/Big/");
}

TEST(ChooseInstallDriveTest, NoSystemRootAndNoCandidateIsAFailure) {
  FakeDriveList drives;
  drives.system_root.clear();
  drives.roots = {{"/media/stick/", DriveKind::kRemovable}};
  drives.free_bytes = {{"/media/stick/", 900 * kGiB}};
  uint64_t space = kNeededKb;
  std::u16string root = u"unchanged";
  EXPECT_FALSE(ChooseInstallDrive(space, root, drives));
  EXPECT_EQ(root, u"unchanged");
  EXPECT_EQ(space, kNeededKb);
}

}  // namespace
}  // namespace qv::util
