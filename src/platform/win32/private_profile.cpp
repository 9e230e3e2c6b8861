// The profile files on Windows: the system's own functions read and write them (in the system's
// encoding of such files), and each write is still an atomic replacement: under the file's
// writer lock the system writes into a scratch copy of the current file, and that copy's bytes
// replace the file (atomic_file.h), so a reader never sees a half-written file and a killed
// writer leaves the old one whole.
#include "platform/private_profile.h"

#include "platform/win32/windows_api.h"

#include <vector>

#include "platform/atomic_file.h"
#include "platform/private_profile_entry.h"
#include "platform/whole_file.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

constexpr char kScratchSuffix[] = ".write";

// Writes `bytes` to `path` (replacing it); false on failure.
bool WriteScratchFile(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  return CloseHandle(file) && whole;
}

}  // namespace

size_t GetPrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view default_value, std::string& out, size_t buffer_size,
                               const std::string& file) {
  out.clear();
  if (buffer_size == 0) return 0;
  std::vector<wchar_t> buffer(buffer_size, L'\0');
  const DWORD copied = GetPrivateProfileStringW(
      win32::Wide(section).c_str(), win32::Wide(key).c_str(), win32::Wide(default_value).c_str(),
      buffer.data(), static_cast<DWORD>(buffer_size), win32::Wide(file).c_str());
  out = win32::Utf8(std::wstring_view(buffer.data(), copied));
  return copied;
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int default_value,
                         const std::string& file) {
  return static_cast<int>(GetPrivateProfileIntW(win32::Wide(section).c_str(),
                                                win32::Wide(key).c_str(), default_value,
                                                win32::Wide(file).c_str()));
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& file) {
  const std::optional<ProfileEntry> entry = PrepareProfileEntry(section, key, value);
  if (!entry) return false;
  const std::string scratch_path = AtomicFileTempPath(file) + kScratchSuffix;
  const std::wstring scratch = win32::Wide(scratch_path);
  bool written = false;
  const std::error_code error = UpdateFileAtomically(
      file, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        if (!WriteScratchFile(scratch, current.value_or(std::string()))) return std::nullopt;
        std::string updated;
        written = WritePrivateProfileStringW(win32::Wide(entry->section).c_str(),
                                             win32::Wide(entry->key).c_str(),
                                             win32::Wide(entry->value).c_str(), scratch.c_str()) &&
                  !ReadFileAsIs(scratch_path, updated);
        DeleteFileW(scratch.c_str());
        if (!written || (current && updated == *current)) return std::nullopt;
        return updated;
      });
  return written && !error;
}

}  // namespace qv::platform
