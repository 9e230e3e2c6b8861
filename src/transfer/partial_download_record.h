// The record kept beside a partial download, so that a later attempt or a later run can continue
// the file: which URL it holds, the server's validator of that content, how many of its first
// bytes are known to be on disk, and the whole size the server announced.
//
// Stored as four "key=value" lines ("url", "validator", "bytes", "total"). A record that does
// not parse whole, or whose numbers contradict each other, is no record: the file is fetched
// from its first byte again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv::transfer {

struct PartialRecord {
  std::string url;
  std::string validator;  // a strong ETag, else a Last-Modified date, as the server sent it
  uint64_t bytes = 0;     // bytes at the start of the file that are on disk
  uint64_t total = 0;     // the whole file's size

  bool operator==(const PartialRecord&) const = default;
};

// Empty when the record cannot be stored (an empty field, a line break inside one, no byte or
// every byte held).
std::string FormatPartialRecord(const PartialRecord& record);
std::optional<PartialRecord> ParsePartialRecord(std::string_view text);

}  // namespace qv::transfer
