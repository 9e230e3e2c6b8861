// Files on Windows: the system's own attributes and calls. Names already match without regard to
// case here, so paths go to the system as given.
#include "platform/files.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/file_time.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

constexpr char kCopySuffix[] = ".copying";

std::optional<DWORD> AttributesOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

// The identity of an existing file (volume and index), to recognise a copy onto itself.
std::optional<std::pair<DWORD, uint64_t>> FileIdentity(const std::string& path) {
  const win32::Handle file = win32::OwnHandle(
      CreateFileW(win32::Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return std::make_pair(info.dwVolumeSerialNumber,
                        (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

}  // namespace

std::optional<FileAttributes> GetFileAttributes(const std::string& path) {
  const auto attributes = AttributesOf(path);
  if (!attributes) return std::nullopt;
  FileAttributes result;
  result.is_directory = (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  result.is_hidden = (*attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  return result;
}

bool SetHidden(const std::string& path) {
  const auto attributes = AttributesOf(path);
  if (!attributes) return false;
  SetFileAttributesW(win32::Wide(path).c_str(), *attributes | FILE_ATTRIBUTE_HIDDEN);
  return true;
}

bool CreateFolder(const std::string& path) {
  return !path.empty() && CreateDirectoryW(win32::Wide(path).c_str(), nullptr);
}

bool RemoveFolder(const std::string& path) {
  const auto attributes = AttributesOf(path);
  // A junction or folder link is never removed as if it were the folder.
  if (!attributes || (*attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
  return RemoveDirectoryW(win32::Wide(path).c_str());
}

bool DeleteFile(const std::string& path) {
  const auto attributes = AttributesOf(path);
  if (!attributes || (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  return DeleteFileW(win32::Wide(path).c_str());
}

bool CopyFile(const std::string& source, const std::string& target) {
  const auto attributes = AttributesOf(source);
  if (!attributes || (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || target.empty()) return false;
  const auto source_identity = FileIdentity(source);
  if (source_identity && source_identity == FileIdentity(target)) return true;
  // The bytes go to a file beside the target first, which then replaces it in one step.
  const std::wstring temporary = win32::Wide(target + kCopySuffix);
  const bool copied =
      CopyFileW(win32::Wide(source).c_str(), temporary.c_str(), FALSE) &&
      SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL) &&
      MoveFileExW(temporary.c_str(), win32::Wide(target).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!copied) DeleteFileW(temporary.c_str());
  return copied;
}

bool SetModificationTime(const std::string& path, std::chrono::system_clock::time_point time) {
  const win32::Handle file = win32::OwnHandle(
      CreateFileW(win32::Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return false;
  const FILETIME stamp = win32::FileTimeOf(time);
  return SetFileTime(file.get(), nullptr, &stamp, &stamp);
}

}  // namespace qv::platform
