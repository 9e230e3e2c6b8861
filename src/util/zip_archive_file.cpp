#include "util/zip_archive_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/read_only_file.h"

namespace qv::util {
namespace {

constexpr size_t kWindowSize = 64 * 1024;

class ArchiveFile {
 public:
  static std::unique_ptr<ArchiveFile> Open(const char* path) {
    std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(path);
    if (!file) return nullptr;
    return std::unique_ptr<ArchiveFile>(new ArchiveFile(std::move(*file)));
  }

  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  // Copies up to `size` bytes from the current position; fewer at the end of the file or on an
  // error (then failed() is true).
  size_t Read(char* out, size_t size) {
    size_t done = 0;
    while (done < size && position_ < file_.size()) {
      Window* window = WindowHolding(position_);
      if (window == nullptr) {
        window = Fill(position_);
        if (window == nullptr) break;
      }
      const size_t from = static_cast<size_t>(position_ - window->offset);
      const size_t count = std::min(size - done, window->length - from);
      std::memcpy(out + done, window->bytes.get() + from, count);
      done += count;
      position_ += count;
    }
    return done;
  }

  void Seek(uint64_t offset, int origin) {
    uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = position_;
    if (origin == ZLIB_FILEFUNC_SEEK_END) base = file_.size();
    position_ = base + offset;  // modular: a relative seek backwards arrives as a huge offset
  }

  uint64_t position() const { return position_; }
  bool failed() const { return failed_; }

 private:
  struct Window {
    std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(kWindowSize);
    uint64_t offset = 0;
    size_t length = 0;
  };

  explicit ArchiveFile(platform::ReadOnlyFile file) : file_(std::move(file)) {}

  Window* WindowHolding(uint64_t position) {
    for (size_t i = 0; i < windows_.size(); ++i) {
      Window& window = windows_[i];
      if (window.length > 0 && position >= window.offset && position < window.offset + window.length) {
        recent_ = i;
        return &window;
      }
    }
    return nullptr;
  }

  // Reloads the window used least recently with the bytes from `position` on.
  Window* Fill(uint64_t position) {
    recent_ = 1 - recent_;
    Window& window = windows_[recent_];
    window.length = 0;
    const int64_t got = file_.ReadAt(position, window.bytes.get(), kWindowSize);
    if (got <= 0) {
      failed_ = got < 0;
      return nullptr;
    }
    window.offset = position;
    window.length = static_cast<size_t>(got);
    return &window;
  }

  const platform::ReadOnlyFile file_;
  uint64_t position_ = 0;
  bool failed_ = false;
  std::array<Window, 2> windows_;
  size_t recent_ = 0;
};

ArchiveFile* AsFile(voidpf stream) { return static_cast<ArchiveFile*>(stream); }

voidpf ZCALLBACK OpenFile(voidpf, const void* path, int mode) {
  const int access = mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER;
  if (path == nullptr || access != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  return ArchiveFile::Open(static_cast<const char*>(path)).release();
}

uLong ZCALLBACK ReadFile(voidpf, voidpf stream, void* out, uLong size) {
  return AsFile(stream)->Read(static_cast<char*>(out), size);
}

uLong ZCALLBACK WriteFile(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellFile(voidpf, voidpf stream) { return AsFile(stream)->position(); }

long ZCALLBACK SeekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  AsFile(stream)->Seek(offset, origin);
  return 0;
}

int ZCALLBACK CloseFile(voidpf, voidpf stream) {
  delete AsFile(stream);
  return 0;
}

int ZCALLBACK FileError(voidpf, voidpf stream) { return AsFile(stream)->failed() ? 1 : 0; }

}  // namespace

zlib_filefunc64_def ArchiveFileFunctions() {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = OpenFile;
  functions.zread_file = ReadFile;
  functions.zwrite_file = WriteFile;
  functions.ztell64_file = TellFile;
  functions.zseek64_file = SeekFile;
  functions.zclose_file = CloseFile;
  functions.zerror_file = FileError;
  return functions;
}

}  // namespace qv::util
