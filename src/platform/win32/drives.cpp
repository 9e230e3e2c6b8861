// The drives on Windows: the system's logical drives and their kinds.
#include "platform/drives.h"

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <cwctype>

#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::optional<DriveKind> KindOf(const std::wstring& root) {
  switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_FIXED:
      return DriveKind::kFixed;
    case DRIVE_REMOTE:
      return DriveKind::kNetwork;
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
      return DriveKind::kRemovable;  // never chosen for an installation
    default:
      return std::nullopt;  // no such root
  }
}

class LogicalDriveList final : public DriveList {
 public:
  // The root of the system folder's drive ("c:\"); "" when the folder has no drive letter.
  std::string SystemRoot() const override {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring system(folder, length < MAX_PATH ? length : 0);
    const size_t colon = system.find(L":\\");
    if (colon == std::wstring::npos || colon == 0) return {};
    return win32::Utf8(Lower(system.substr(0, colon) + L":\\"));
  }

  std::vector<DriveRoot> Roots() const override {
    std::vector<DriveRoot> roots;
    const DWORD size = GetLogicalDriveStringsW(0, nullptr);
    std::wstring list(size, L'\0');
    const DWORD written = GetLogicalDriveStringsW(size, list.data());
    if (written == 0 || written >= size) return roots;
    for (size_t at = 0; at < written && list[at] != L'\0';) {
      const std::wstring root(list.c_str() + at);
      at += root.size() + 1;
      if (const auto kind = KindOf(root)) roots.push_back({win32::Utf8(Lower(root)), *kind});
    }
    return roots;
  }

  std::optional<uint64_t> FreeBytes(const std::string& root) const override {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(win32::Wide(root).c_str(), &available, nullptr, nullptr)) {
      return std::nullopt;
    }
    return available.QuadPart;
  }
};

}  // namespace

const DriveList& SystemDriveList() {
  static const LogicalDriveList drives;
  return drives;
}

}  // namespace qv::platform
