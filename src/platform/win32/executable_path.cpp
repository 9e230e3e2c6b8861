#include "platform/executable_path.h"

#include "platform/win32/windows_api.h"

#include <vector>

#include "platform/win32/wide_text.h"

namespace qv::platform {

std::string ExecutablePath() {
  // The buffer grows until the whole path fits (long paths exceed MAX_PATH).
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return win32::Utf8(std::wstring_view(buffer.data(), length));
  }
  return {};
}

}  // namespace qv::platform
