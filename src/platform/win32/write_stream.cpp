#include "platform/write_stream.h"

#include "platform/win32/windows_api.h"

#include <fcntl.h>
#include <io.h>

#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

std::FILE* StreamOf(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* stream = _fdopen(fd, "wb");
  if (stream == nullptr) _close(fd);
  return stream;
}

}  // namespace

OpenedStream OpenWriteStream(const std::string& path, WriteOpenMode mode) {
  // The file system finds other spellings itself: both new-file modes are the same here.
  const DWORD disposition =
      mode == WriteOpenMode::kCreateOrTruncate ? CREATE_ALWAYS : CREATE_NEW;
  const HANDLE handle =
      CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  OpenedStream opened;
  opened.name_taken = handle == INVALID_HANDLE_VALUE && (GetLastError() == ERROR_FILE_EXISTS ||
                                                         GetLastError() == ERROR_ALREADY_EXISTS);
  opened.stream = StreamOf(handle);
  return opened;
}

std::FILE* OpenWriteStreamToContinue(const std::string& path, uint64_t length) {
  const HANDLE handle = CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER size{};
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(length);
  if (!GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
      !GetFileSizeEx(handle, &size) || static_cast<uint64_t>(size.QuadPart) < length ||
      !SetFilePointerEx(handle, at, nullptr, FILE_BEGIN) || !SetEndOfFile(handle)) {
    CloseHandle(handle);
    return nullptr;
  }
  return StreamOf(handle);
}

bool SyncWriteStream(std::FILE* stream) {
  if (std::fflush(stream) != 0 || std::ferror(stream)) return false;
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

bool ApplyStoredUnixMode(std::FILE* /*stream*/, uint32_t /*stored_mode*/) { return true; }

}  // namespace qv::platform
