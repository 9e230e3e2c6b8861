#include "platform/read_only_file.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace qv::platform {

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path) {
  const HANDLE handle =
      CreateFileW(win32::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  ReadOnlyFile file(reinterpret_cast<intptr_t>(handle), 0);
  LARGE_INTEGER size{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) return std::nullopt;
  file.size_ = static_cast<uint64_t>(size.QuadPart);
  return file;
}

void ReadOnlyFile::Close() {
  if (native_ != kNone) CloseHandle(reinterpret_cast<HANDLE>(native_));
  native_ = kNone;
}

int64_t ReadOnlyFile::ReadAt(uint64_t offset, char* out, size_t size) const {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
  DWORD got = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(native_), out, chunk, &got, &at)) {
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  }
  return got;
}

}  // namespace qv::platform
