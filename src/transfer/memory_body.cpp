#include "transfer/memory_body.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qv::transfer {

bool MemoryBody::Append(const char* bytes, size_t size) {
  if (size == 0) return true;
  if (truncated_ || !Grow(size)) {
    truncated_ = true;
    return false;
  }
  std::memcpy(buffer_.get() + length_, bytes, size);
  length_ += static_cast<uint32_t>(size);
  return true;
}

bool MemoryBody::Grow(size_t needed) {
  if (!buffer_) {
    buffer_.reset(new (std::nothrow) char[kGrowthStep]);
    if (!buffer_) return false;
    capacity_ = kGrowthStep;
  }
  const uint64_t wanted = uint64_t{length_} + needed;
  if (wanted <= capacity_) return true;
  if (wanted > ceiling_) return false;
  // Doubling (never less than the shortfall or one minimal step) keeps the copying linear in the
  // body size; the last step stops at the ceiling.
  const uint64_t step = std::max<uint64_t>({wanted - capacity_, kGrowthStep, capacity_});
  const uint64_t new_capacity = std::min<uint64_t>(uint64_t{capacity_} + step, ceiling_);
  std::unique_ptr<char[]> grown(new (std::nothrow) char[new_capacity]);
  if (!grown) return false;
  std::memcpy(grown.get(), buffer_.get(), length_);
  buffer_ = std::move(grown);
  capacity_ = static_cast<uint32_t>(new_capacity);
  return true;
}

void MemoryBody::Clear() {
  buffer_.reset();
  capacity_ = 0;
  length_ = 0;
  truncated_ = false;
}

}  // namespace qv::transfer
