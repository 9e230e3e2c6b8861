#include "test_environment.h"

#include "platform/win32/windows_api.h"

#include <stdlib.h>

#include <stdexcept>

#include "platform/win32/wide_text.h"

namespace qv::test {

std::string MakeFreshTempFolder() {
  wchar_t base[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, base);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::wstring candidate = std::wstring(base, length) + L"qv-test-" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(GetTickCount() + attempt);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) return platform::win32::Utf8(candidate);
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error("no fresh temporary folder");
}

bool RunningUnderWine() {
  // Wine's own ntdll exports its version; Windows' does not.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
  // Through the C runtime, so that getenv sees it too; "" removes the variable there.
  _wputenv_s(platform::win32::Wide(name).c_str(),
             value ? platform::win32::Wide(*value).c_str() : L"");
}

}  // namespace qv::test
