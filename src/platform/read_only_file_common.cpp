// The ownership of a ReadOnlyFile (read_only_file.h), alike on every system.
#include "platform/read_only_file.h"

#include <utility>

namespace qv::platform {

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : native_(std::exchange(other.native_, kNone)), size_(other.size_) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Close();
    native_ = std::exchange(other.native_, kNone);
    size_ = other.size_;
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() { Close(); }

}  // namespace qv::platform
