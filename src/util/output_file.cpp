#include "util/output_file.h"

#include "platform/write_stream.h"

namespace qv::util {

OutputFile::~OutputFile() { file_.reset(); }

namespace {

platform::WriteOpenMode OpenModeOf(OutputFile::Mode mode) {
  switch (mode) {
    case OutputFile::Mode::kCreateNew: return platform::WriteOpenMode::kCreateNew;
    case OutputFile::Mode::kCreateNewExactly: return platform::WriteOpenMode::kCreateNewExactly;
    case OutputFile::Mode::kCreateOrTruncate: break;
  }
  return platform::WriteOpenMode::kCreateOrTruncate;
}

}  // namespace

bool OutputFile::Open(const std::string& path, Mode mode) {
  file_.reset();
  const platform::OpenedStream opened = platform::OpenWriteStream(path, OpenModeOf(mode));
  name_taken_ = opened.name_taken;
  return Adopt(opened.stream);
}

bool OutputFile::OpenToContinue(const std::string& path, uint64_t length) {
  file_.reset();
  name_taken_ = false;
  return Adopt(platform::OpenWriteStreamToContinue(path, length));
}

bool OutputFile::Adopt(std::FILE* stream) {
  file_.reset(stream);
  if (!file_) return false;
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kOutputFileBufferSize);
  std::setvbuf(file_.get(), buffer_.get(), _IOFBF, kOutputFileBufferSize);
  return true;
}

bool OutputFile::Sync() { return file_ && platform::SyncWriteStream(file_.get()); }

bool OutputFile::ApplyStoredUnixMode(uint32_t stored_mode) {
  return file_ && platform::ApplyStoredUnixMode(file_.get(), stored_mode);
}

bool OutputFile::Write(const void* bytes, size_t size) {
  if (!file_) return false;
  return std::fwrite(bytes, 1, size, file_.get()) == size;
}

bool OutputFile::Close() {
  if (!file_) return false;
  std::FILE* file = file_.release();
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const bool closed = std::fclose(file) == 0;
  return flushed && closed;
}

}  // namespace qv::util
