// The data of one archive entry read straight from the archive file and inflated into the
// caller's blocks. The extraction uses it for entries larger than one block, so that their
// CRC-32 can be summed on the writing thread (BackgroundWriter) rather than by minizip on the
// inflating one, and so that zlib inflates large runs of input at once.
//
// The bytes are taken from `offset` (where minizip, having checked the entry's local header,
// says its data starts) up to the compressed size; the output stops at the declared size, as
// minizip's does. The caller checks the total and the CRC-32.
//
// Threads: one thread uses an object; it borrows the archive file for its whole life.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/read_only_file.h"

namespace qv::util {

inline constexpr size_t kEntryInputBlockSize = 128 * 1024;

class EntryDataReader {
 public:
  // `deflated`: the data is a raw deflate stream; otherwise it is stored as it is.
  EntryDataReader(const platform::ReadOnlyFile& archive, uint64_t offset, uint64_t compressed_size,
                  uint64_t uncompressed_size, bool deflated);
  ~EntryDataReader();
  EntryDataReader(const EntryDataReader&) = delete;
  EntryDataReader& operator=(const EntryDataReader&) = delete;

  // Fills up to `size` bytes of `block`: the count, 0 once the declared size is reached or the
  // data ends (an entry cut short ends early), -1 for data that cannot be read or inflated.
  int64_t Read(char* block, size_t size);

 private:
  int64_t ReadStored(char* block, size_t size);
  int64_t Inflate(char* block, size_t size);
  // Reads the next input block; false on a read error. Leaves no input at the data's end.
  bool Refill();

  const platform::ReadOnlyFile& archive_;
  uint64_t next_offset_;
  uint64_t compressed_left_;
  uint64_t uncompressed_left_;
  const bool deflated_;
  bool stream_ready_ = false;
  bool stream_ended_ = false;
  z_stream stream_{};
  std::unique_ptr<unsigned char[]> input_;
};

}  // namespace qv::util
