// The body of a transfer collected in memory, grown in steps of at least kGrowthStep bytes and
// holding at most the ceiling (about 100 MB). A body that would pass the ceiling (or that memory
// cannot hold) is marked truncated; the transfer then fails instead of handing on part of an
// answer.
//
// Ownership: a member of one CHttp, used on the thread running its transfer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace qv::transfer {

class MemoryBody {
 public:
  static constexpr uint32_t kGrowthStep = 10240;
  static constexpr uint32_t kDefaultCeiling = 102'400'000;

  explicit MemoryBody(uint32_t ceiling = kDefaultCeiling) : ceiling_(ceiling) {}

  // Appends `size` bytes; false (and the body is marked truncated) when they do not fit.
  bool Append(const char* bytes, size_t size);
  void Clear();

  std::string_view bytes() const { return {buffer_.get(), length_}; }
  uint32_t capacity() const { return capacity_; }
  bool truncated() const { return truncated_; }

 private:
  bool Grow(size_t needed);

  uint32_t ceiling_;
  std::unique_ptr<char[]> buffer_;
  uint32_t capacity_ = 0;
  uint32_t length_ = 0;
  bool truncated_ = false;
};

}  // namespace qv::transfer
