// Writes blocks to an OutputFile on a thread of its own and sums their CRC-32 there, so that the
// caller fills the next block (inflates an archive entry's data) while the previous one is
// checked and goes to the file.
//
// At most one block is in flight: Write waits until the block before has been written, then hands
// the new one over and returns. The caller must leave a handed-over block untouched until its next
// Write or Finish returns, so two buffers used in turn keep both threads busy.
//
// Threads: made, called and destroyed on one thread (the caller's); the file is used only by the
// writing thread from construction until Finish or the destructor returns, and by the caller
// again afterwards. The destructor waits for the block in flight and ends the thread. When no
// thread can be started, Write writes each block itself before it returns.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "util/output_file.h"

namespace qv::util {

class BackgroundWriter {
 public:
  explicit BackgroundWriter(OutputFile& file);
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Hands `size` bytes at `bytes` to the writing thread. False when an earlier block failed to
  // be written (the new one is then not taken).
  bool Write(const char* bytes, size_t size);
  // Waits until every block handed over is written and ends the thread. True when all were.
  bool Finish();
  // The CRC-32 of the blocks written; read it after Finish.
  uint32_t crc32() const { return crc32_; }

 private:
  void Run();
  // Sums and writes one block; false when the write failed.
  bool Take(const char* bytes, size_t size);

  OutputFile& file_;
  std::mutex lock_;
  std::condition_variable changed_;
  const char* pending_ = nullptr;  // the block waiting for or being written; null when idle
  size_t pending_size_ = 0;
  bool failed_ = false;
  uint32_t crc32_ = 0;  // only the thread that writes touches it until Finish
  bool stopping_ = false;
  std::thread thread_;  // started in the constructor, after every member it uses exists
};

}  // namespace qv::util
