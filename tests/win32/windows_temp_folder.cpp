#include "windows_temp_folder.h"

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"
#include "test_environment.h"

namespace qv::test {

using platform::win32::Utf8;
using platform::win32::Wide;

WindowsTempFolder::WindowsTempFolder() : path_(MakeFreshTempFolder()) {}

WindowsTempFolder::~WindowsTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(Wide(path_)), ignored);
}

std::string WindowsTempFolder::Path(std::string_view relative) const {
  return path_ + "\\" + std::string(relative);
}

std::optional<std::string> ReadWindowsFile(const std::string& path) {
  const auto file = platform::win32::OwnHandle(
      CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool WriteWindowsFile(const std::string& path, std::string_view bytes) {
  const auto file = platform::win32::OwnHandle(CreateFileW(
      Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                           nullptr) &&
         written == bytes.size();
}

std::vector<std::string> NamesInFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace qv::test
