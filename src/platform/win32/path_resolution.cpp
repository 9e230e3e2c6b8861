// Names that match without regard to letter case, on Windows: the file system itself finds an
// entry in any spelling and keeps the spelling it was made with, so a path needs no resolution.
#include "platform/path_resolution.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace qv::platform {

bool NamesMatchIgnoringCase(std::string_view a, std::string_view b) {
  const std::wstring wide_a = win32::Wide(a);
  const std::wstring wide_b = win32::Wide(b);
  return CompareStringOrdinal(wide_a.c_str(), static_cast<int>(wide_a.size()), wide_b.c_str(),
                              static_cast<int>(wide_b.size()), TRUE) == CSTR_EQUAL;
}

std::optional<std::string> ResolveExistingPath(const std::string& path) {
  if (GetFileAttributesW(win32::Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
    return std::nullopt;
  }
  return path;
}

std::string ResolvePathForCreation(const std::string& path) { return path; }

}  // namespace qv::platform
