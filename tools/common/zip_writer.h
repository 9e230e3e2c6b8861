// Zip archives written with minizip's zip API, entry by entry: any name (also names tools refuse
// to make), folder entries, stored or deflated data or any other method number with raw bytes,
// chosen DOS times, Unix modes, CRCs and flag bits. Used by the test harness for damaged and
// unusual archives and by the demo content builder for the demo's packages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::tools {

struct ZipEntry {
  std::string name;  // stored as given: "a/b.txt", "../evil", "/abs", "C:\\x", ...
  std::string data;
  int method = 8;    // 8 deflated, 0 stored; with `raw_bytes` any number may be stored
                     // (written into both headers after the archive is finished)
  // Local date and time stored in the entry (DOS format, two-second steps).
  int year = 2024, month = 5, day = 17, hour = 13, minute = 45, second = 30;
  // External attributes; when `unix_mode` is set, "made by" Unix and unix_mode << 16 are stored.
  uint32_t external_attributes = 0;
  std::optional<uint32_t> unix_mode;
  // Stored instead of the real CRC-32 of `data` (the data is still written correctly).
  std::optional<uint32_t> crc_override;
  // General-purpose flag bits to set (bit 0: "encrypted").
  uint16_t flag_bits = 0;
  // Written as the entry's data as they stand (no compression); `data` then only gives the
  // declared uncompressed size and CRC.
  std::optional<std::string> raw_bytes;

  static ZipEntry Folder(std::string name) {
    ZipEntry entry;
    entry.name = std::move(name);
    entry.method = 0;
    entry.external_attributes = 0x10;
    return entry;
  }
  static ZipEntry File(std::string name, std::string data) {
    ZipEntry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    return entry;
  }
  // A file whose stored CRC-32 is `crc` (a damaged entry when it differs from the data's).
  static ZipEntry FileWithCrc(std::string name, std::string data, uint32_t crc) {
    ZipEntry entry = File(std::move(name), std::move(data));
    entry.crc_override = crc;
    return entry;
  }
};

// Writes an archive holding `entries` in the given order. Throws std::runtime_error on failure.
void BuildZipWithMinizip(const std::string& archive_path, const std::vector<ZipEntry>& entries);

}  // namespace qv::tools
