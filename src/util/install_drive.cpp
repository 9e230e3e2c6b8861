#include "util/install_drive.h"

#include <algorithm>
#include <vector>

#include "util/text_conversion.h"

namespace qv::util {
namespace {

constexpr uint64_t kBytesPerKilobyte = 1024;

uint64_t FreeKilobytes(const platform::DriveList& drives, const std::string& root) {
  return drives.FreeBytes(root).value_or(0) / kBytesPerKilobyte;
}

}  // namespace

bool ChooseInstallDrive(uint64_t& space_kb, std::u16string& root, const platform::DriveList& drives) {
  const std::string system_root = drives.SystemRoot();
  std::vector<std::string> candidates;
  auto roots = drives.Roots();
  if (roots.size() > kMaxDriveRoots) roots.resize(kMaxDriveRoots);
  for (const auto& drive : roots) {
    if (drive.kind != platform::DriveKind::kFixed || drive.root == system_root) continue;
    if (FreeKilobytes(drives, drive.root) > space_kb) candidates.push_back(drive.root);
  }
  const std::string chosen =
      candidates.empty() ? system_root : *std::min_element(candidates.begin(), candidates.end());
  if (chosen.empty()) return false;
  root = Utf8ToWide(chosen);
  space_kb = FreeKilobytes(drives, chosen);
  return true;
}

bool ChooseInstallDrive(uint64_t& space_kb, std::u16string& root) {
  return ChooseInstallDrive(space_kb, root, platform::SystemDriveList());
}

}  // namespace qv::util
