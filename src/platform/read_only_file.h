// A regular file opened for reading at any offset (pread; ReadFile with an offset): the archive
// reader's random access, which never depends on a shared file position. The path is taken as
// given (the caller has found the file's spelling).
//
// Ownership: one thread at a time; movable, not copyable; the file closes when the object goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qv::platform {

class ReadOnlyFile {
 public:
  // nullopt when the file cannot be opened or is not a regular file.
  static std::optional<ReadOnlyFile> Open(const std::string& path);

  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile();

  // The size when the file was opened.
  uint64_t size() const { return size_; }

  // Up to `size` bytes from `offset` into `out`: the count read (0 at the end of the file), or
  // -1 on a read error.
  int64_t ReadAt(uint64_t offset, char* out, size_t size) const;

 private:
  ReadOnlyFile(intptr_t native, uint64_t size) : native_(native), size_(size) {}
  // Closes the system's file; each side defines it.
  void Close();

  static constexpr intptr_t kNone = -1;
  intptr_t native_ = kNone;  // the descriptor (Linux) or the handle (Windows)
  uint64_t size_ = 0;
};

}  // namespace qv::platform
