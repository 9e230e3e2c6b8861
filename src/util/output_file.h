// A file written through stdio with a real 64 KiB buffer, for downloads and extracted entries.
//
// Both write many small pieces (a transfer's chunks, 2,048-byte reads of an archive entry); the
// buffer turns them into few large writes. glibc ignores setvbuf's size when it is not also given
// the memory, so the buffer is allocated here and lives exactly as long as the stream.
//
// Ownership: one thread owns the object; the destructor closes a file still open (ignoring the
// result), so a failed write on any path never leaks the descriptor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace qv::util {

inline constexpr size_t kOutputFileBufferSize = 64 * 1024;

class OutputFile {
 public:
  enum class Mode {
    kCreateOrTruncate,  // like fopen "wb"
    kCreateNew,         // fails when the path exists; never follows a symbolic link
    kCreateNewExactly,  // as kCreateNew, at the path exactly as given (no other spelling)
  };

  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens `path` for writing (permission bits 0666 less the umask). Closes any file already open.
  bool Open(const std::string& path, Mode mode);
  // After a failed kCreateNew or kCreateNewExactly Open: whether something (file, folder, link) has the name already.
  bool name_taken() const { return name_taken_; }
  // Opens the existing file at `path` to write on after its first `length` bytes; whatever
  // followed them is cut off. False when the file is missing or shorter than `length`.
  bool OpenToContinue(const std::string& path, uint64_t length);
  bool is_open() const { return file_ != nullptr; }
  // Gives the open file the permission bits an archive entry stored
  // (platform::ApplyStoredUnixMode). False when none is open or the change failed.
  bool ApplyStoredUnixMode(uint32_t stored_mode);

  // Writes all `size` bytes; false on a short write or an error.
  bool Write(const void* bytes, size_t size);

  // Flushes the written bytes and waits until the disk holds them. False on any error.
  bool Sync();

  // Flushes and closes. False when the flush or the close reported an error (a full disk often
  // shows up only here) or when no file was open.
  bool Close();

 private:
  // Streams `stream` (nullptr: none was opened) through the buffer.
  bool Adopt(std::FILE* stream);

  struct StreamCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::unique_ptr<std::FILE, StreamCloser> file_;
  std::unique_ptr<char[]> buffer_;  // the stream's buffer; the destructor closes the stream first
  bool name_taken_ = false;
};

}  // namespace qv::util
