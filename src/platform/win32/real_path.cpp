// What a path names on Windows: the final path the system resolves through every link and
// junction, in the spelling on disk; a link is an entry with a reparse point.
#include "platform/real_path.h"

#include "platform/win32/windows_api.h"

#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

}  // namespace

std::optional<std::string> RealPath(const std::string& path) {
  const win32::Handle entry = win32::OwnHandle(
      CreateFileW(win32::Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!entry) return std::nullopt;
  std::vector<wchar_t> buffer(MAX_PATH);
  DWORD length = GetFinalPathNameByHandleW(entry.get(), buffer.data(),
                                           static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = GetFinalPathNameByHandleW(entry.get(), buffer.data(),
                                       static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
  }
  if (length == 0 || length >= buffer.size()) return std::nullopt;
  std::wstring final_path(buffer.data(), length);
  // The system answers in its long-path form; callers compare ordinary paths.
  if (final_path.starts_with(kLongUncPrefix)) {
    final_path = L"\\\\" + final_path.substr(kLongUncPrefix.size());
  } else if (final_path.starts_with(kLongPathPrefix)) {
    final_path = final_path.substr(kLongPathPrefix.size());
  }
  return win32::Utf8(final_path);
}

bool IsSymbolicLink(const std::string& path) {
  // "link\" would name what the link points to.
  std::string entry = path;
  while (entry.size() > 1 && (entry.back() == '\\' || entry.back() == '/')) entry.pop_back();
  const DWORD attributes = GetFileAttributesW(win32::Wide(entry).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace qv::platform
