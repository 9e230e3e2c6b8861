#include "util/entry_data_reader.h"

#include <algorithm>
#include <climits>

namespace qv::util {

EntryDataReader::EntryDataReader(const platform::ReadOnlyFile& archive, uint64_t offset,
                                 uint64_t compressed_size, uint64_t uncompressed_size,
                                 bool deflated)
    : archive_(archive),
      next_offset_(offset),
      compressed_left_(compressed_size),
      uncompressed_left_(uncompressed_size),
      deflated_(deflated) {
  if (!deflated_) return;
  input_ = std::make_unique_for_overwrite<unsigned char[]>(kEntryInputBlockSize);
  stream_ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;  // raw deflate, as zip stores it
}

EntryDataReader::~EntryDataReader() {
  if (stream_ready_) inflateEnd(&stream_);
}

int64_t EntryDataReader::Read(char* block, size_t size) {
  size = static_cast<size_t>(std::min<uint64_t>({size, uncompressed_left_, UINT_MAX}));
  if (size == 0) return 0;
  const int64_t count = deflated_ ? Inflate(block, size) : ReadStored(block, size);
  if (count > 0) uncompressed_left_ -= static_cast<uint64_t>(count);
  return count;
}

int64_t EntryDataReader::ReadStored(char* block, size_t size) {
  size = static_cast<size_t>(std::min<uint64_t>(size, compressed_left_));
  size_t done = 0;
  while (done < size) {
    const int64_t got = archive_.ReadAt(next_offset_, block + done, size - done);
    if (got < 0) return -1;
    if (got == 0) {  // the archive ends inside the entry
      compressed_left_ = 0;
      break;
    }
    done += static_cast<size_t>(got);
    next_offset_ += static_cast<uint64_t>(got);
    compressed_left_ -= static_cast<uint64_t>(got);
  }
  return static_cast<int64_t>(done);
}

int64_t EntryDataReader::Inflate(char* block, size_t size) {
  if (!stream_ready_) return -1;
  stream_.next_out = reinterpret_cast<Bytef*>(block);
  stream_.avail_out = static_cast<uInt>(size);
  while (stream_.avail_out > 0 && !stream_ended_) {
    if (stream_.avail_in == 0) {
      if (!Refill()) return -1;
      if (stream_.avail_in == 0) break;  // the data ends before the stream does
    }
    const int result = inflate(&stream_, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      stream_ended_ = true;
    } else if (result != Z_OK) {
      return -1;
    }
  }
  return static_cast<int64_t>(size - stream_.avail_out);
}

bool EntryDataReader::Refill() {
  const size_t want = static_cast<size_t>(std::min<uint64_t>(kEntryInputBlockSize, compressed_left_));
  if (want == 0) return true;
  const int64_t got = archive_.ReadAt(next_offset_, reinterpret_cast<char*>(input_.get()), want);
  if (got < 0) return false;
  if (got == 0) compressed_left_ = 0;  // the archive ends inside the entry
  next_offset_ += static_cast<uint64_t>(got);
  compressed_left_ -= static_cast<uint64_t>(got);
  stream_.next_in = input_.get();
  stream_.avail_in = static_cast<uInt>(got);
  return true;
}

}  // namespace qv::util
