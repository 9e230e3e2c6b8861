#include "transfer/partial_download_record.h"

#include "util/whole_decimal.h"

namespace qv::transfer {
namespace {

constexpr std::string_view kUrlKey = "url=";
constexpr std::string_view kValidatorKey = "validator=";
constexpr std::string_view kBytesKey = "bytes=";
constexpr std::string_view kTotalKey = "total=";

bool Storable(const PartialRecord& record) {
  const auto one_line = [](const std::string& text) {
    return !text.empty() && text.find_first_of("\r\n") == std::string::npos;
  };
  return one_line(record.url) && one_line(record.validator) && record.bytes > 0 &&
         record.bytes < record.total;
}

// The next line's value when it carries `key`; `text` moves past the line.
std::optional<std::string_view> TakeLine(std::string_view& text, std::string_view key) {
  const size_t end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  if (!line.starts_with(key)) return std::nullopt;
  return line.substr(key.size());
}

}  // namespace

std::string FormatPartialRecord(const PartialRecord& record) {
  if (!Storable(record)) return {};
  return std::string(kUrlKey) + record.url + "\n" + std::string(kValidatorKey) + record.validator +
         "\n" + std::string(kBytesKey) + std::to_string(record.bytes) + "\n" +
         std::string(kTotalKey) + std::to_string(record.total) + "\n";
}

std::optional<PartialRecord> ParsePartialRecord(std::string_view text) {
  const auto url = TakeLine(text, kUrlKey);
  const auto validator = TakeLine(text, kValidatorKey);
  const auto bytes = TakeLine(text, kBytesKey);
  const auto total = TakeLine(text, kTotalKey);
  if (!url || !validator || !bytes || !total || !text.empty()) return std::nullopt;
  const auto byte_count = util::WholeDecimal(*bytes);
  const auto total_count = util::WholeDecimal(*total);
  if (!byte_count || !total_count) return std::nullopt;
  PartialRecord record{std::string(*url), std::string(*validator), *byte_count, *total_count};
  if (!Storable(record)) return std::nullopt;
  return record;
}

}  // namespace qv::transfer
