#include "platform/atomic_file.h"

#include "platform/win32/windows_api.h"

#include "platform/atomic_file_steps.h"
#include "platform/whole_file.h"
#include "platform/win32/handles.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::error_code WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return win32::LastError();
    bytes.remove_prefix(written);
  }
  return {};
}

// Takes the target's writer lock; it is held until `lock` closes. The lock belongs to the handle,
// so two threads of one process exclude each other as two processes do.
std::error_code LockExclusively(const std::string& path, win32::Handle& lock) {
  lock = win32::OwnHandle(CreateFileW(win32::Wide(AtomicFileLockPath(path)).c_str(),
                                      GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!lock) return win32::LastError();
  OVERLAPPED whole_file{};
  if (!LockFileEx(lock.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole_file)) {
    return win32::LastError();
  }
  return {};
}

}  // namespace

std::error_code ReplaceWithTempFile(const std::string& path, std::string_view contents) {
  const std::wstring temp = win32::Wide(AtomicFileTempPath(path));
  // A temporary file left by a killed writer (or anything planted under its name) goes first;
  // CREATE_NEW then guarantees that the bytes land in a file of our own.
  if (!DeleteFileW(temp.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    return win32::LastError();
  }
  win32::Handle file = win32::OwnHandle(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return win32::LastError();

  std::error_code error = WriteAll(file.get(), contents);
  if (!error && !FlushFileBuffers(file.get())) error = win32::LastError();
  if (!error && !CloseHandle(file.release())) error = win32::LastError();
  file.reset();
  // The replacement reaches the disk before the call returns.
  if (!error && !MoveFileExW(temp.c_str(), win32::Wide(path).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = win32::LastError();
  }
  if (error) DeleteFileW(temp.c_str());
  return error;
}

// Windows resolves the spelling of a path itself: names match without regard to case.
std::error_code ReadWholeFile(const std::string& path, std::string& out) {
  return ReadFileAsIs(path, out);
}

std::error_code UpdateFileAtomically(const std::string& path, const FileUpdate& update) {
  win32::Handle lock;
  if (const std::error_code error = LockExclusively(path, lock)) return error;
  return ReadUpdateReplace(path, update);
}  // the lock is released when `lock` closes

std::error_code WriteFileAtomically(const std::string& path, std::string_view contents) {
  win32::Handle lock;
  if (const std::error_code error = LockExclusively(path, lock)) return error;
  return ReplaceWithTempFile(path, contents);
}

}  // namespace qv::platform
