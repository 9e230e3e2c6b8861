#include "platform/whole_file.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/handles.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {

std::error_code ReadFileAsIs(const std::string& path, std::string& out) {
  out.clear();
  const win32::Handle file = win32::OwnHandle(
      CreateFileW(win32::Wide(path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return win32::LastError();
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      const std::error_code error = win32::LastError();
      out.clear();
      return error;
    }
    if (got == 0) return {};
    out.append(buffer, got);
  }
}

}  // namespace qv::platform
