#include "platform/exact_entries.h"

#include "platform/win32/windows_api.h"

#include <vector>

#include "platform/win32/file_time.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
EntryKind EntryKindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? EntryKind::kMissing
                                                                          : EntryKind::kUnknown;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::kLink;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::kFolder;
  return EntryKind::kFile;
}

bool MakeFolderExactly(const std::string& path) {
  return CreateDirectoryW(win32::Wide(path).c_str(), nullptr) ||
         GetLastError() == ERROR_ALREADY_EXISTS;
}

bool SetModificationTimeExactly(const std::string& path, std::time_t seconds) {
  const win32::Handle entry = win32::OwnHandle(
      CreateFileW(win32::Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!entry) return false;
  const FILETIME modified = win32::FileTimeOf(std::chrono::system_clock::from_time_t(seconds));
  return SetFileTime(entry.get(), nullptr, nullptr, &modified);
}

std::string AbsolutePath(const std::string& path) {
  const std::wstring wide = win32::Wide(path);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::vector<wchar_t> full(size);
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return {};
  return win32::Utf8(std::wstring_view(full.data(), length));
}

}  // namespace qv::platform
