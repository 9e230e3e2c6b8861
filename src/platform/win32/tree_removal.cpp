// Removal inside a folder on Windows. Every folder on the way is opened, in turn, without
// following a reparse point, and kept open without sharing deletion until the removal is done:
// nobody can rename, replace or turn into a link a folder of the chain meanwhile, and a chain
// that holds a link or junction fails instead of reaching what it points to.
#include "platform/tree_removal.h"

#include "platform/win32/windows_api.h"

#include <optional>
#include <vector>

#include "platform/portable_names.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

// Opens an existing entry without following a reparse point and without letting anyone delete
// or rename it while the handle is open; fills its attributes.
win32::Handle HoldEntry(const std::wstring& path, DWORD& attributes) {
  win32::Handle entry = win32::OwnHandle(
      CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                  nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!entry || !GetFileInformationByHandle(entry.get(), &info)) return win32::Handle();
  attributes = info.dwFileAttributes;
  return entry;
}

bool IsPlainFolder(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// The full path of the entry named by `relative` when the root and every folder on the way are
// plain folders; their handles go into `held` and keep the chain as it is.
std::optional<std::wstring> HoldChainTo(const std::string& root, std::string_view relative,
                                        std::vector<win32::Handle>& held) {
  const std::vector<std::string> components = PlainComponents(relative);
  if (components.empty()) return std::nullopt;
  std::wstring path = win32::Wide(root);
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  DWORD attributes = 0;
  held.push_back(HoldEntry(path, attributes));
  if (!held.back() || !IsPlainFolder(attributes)) return std::nullopt;
  for (size_t i = 0; i < components.size(); ++i) {
    path += L'\\' + win32::Wide(components[i]);
    if (i + 1 == components.size()) break;
    held.push_back(HoldEntry(path, attributes));
    if (!held.back() || !IsPlainFolder(attributes)) return std::nullopt;
  }
  return path;
}

}  // namespace

bool DeleteFileInside(const std::string& root, std::string_view relative) {
  std::vector<win32::Handle> held;
  const std::optional<std::wstring> path = HoldChainTo(root, relative, held);
  if (!path) return false;
  const DWORD attributes = GetFileAttributesW(path->c_str());
  // A file, or a link itself (never what it points to); never a folder.
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
       (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)) {
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return RemoveDirectoryW(path->c_str());
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(path->c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return DeleteFileW(path->c_str());
}

bool RemoveFolderInside(const std::string& root, std::string_view relative) {
  std::vector<win32::Handle> held;
  const std::optional<std::wstring> path = HoldChainTo(root, relative, held);
  if (!path) return false;
  const DWORD attributes = GetFileAttributesW(path->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && IsPlainFolder(attributes) &&
         RemoveDirectoryW(path->c_str());
}

}  // namespace qv::platform
