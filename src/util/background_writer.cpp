#include "util/background_writer.h"

#include <zlib.h>

#include <system_error>

namespace qv::util {

BackgroundWriter::BackgroundWriter(OutputFile& file) : file_(file) {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // No thread to be had: Write sums and writes every block itself.
  }
}

BackgroundWriter::~BackgroundWriter() { Finish(); }

bool BackgroundWriter::Write(const char* bytes, size_t size) {
  std::unique_lock<std::mutex> hold(lock_);
  changed_.wait(hold, [this] { return pending_ == nullptr; });
  if (failed_ || stopping_) return false;
  if (!thread_.joinable()) {
    failed_ = !Take(bytes, size);
    return !failed_;
  }
  pending_ = bytes;
  pending_size_ = size;
  changed_.notify_all();
  return true;
}

bool BackgroundWriter::Finish() {
  {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return pending_ == nullptr; });
    stopping_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> hold(lock_);
  return !failed_;
}

void BackgroundWriter::Run() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    changed_.wait(hold, [this] { return pending_ != nullptr || stopping_; });
    if (pending_ == nullptr) return;  // stopping, nothing left
    const char* bytes = pending_;
    const size_t size = pending_size_;
    hold.unlock();
    const bool written = Take(bytes, size);
    hold.lock();
    if (!written) failed_ = true;
    pending_ = nullptr;
    changed_.notify_all();
  }
}

bool BackgroundWriter::Take(const char* bytes, size_t size) {
  crc32_ = static_cast<uint32_t>(
      ::crc32_z(crc32_, reinterpret_cast<const Bytef*>(bytes), static_cast<z_size_t>(size)));
  return file_.Write(bytes, size);
}

}  // namespace qv::util
