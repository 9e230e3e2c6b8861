#include "common/zip_writer.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace qv::tools {
namespace {

constexpr uLong kMadeByUnix = 3u << 8 | 20u;  // host 3 (Unix), zip format version 2.0

struct ZipCloser {
  void operator()(zipFile file) const { zipClose(file, nullptr); }
};

std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

bool HasOtherMethod(const ZipEntry& entry) { return entry.method != 0 && entry.method != 8; }

uint32_t ReadLittleEndian(const std::string& bytes, size_t offset, size_t width) {
  uint32_t value = 0;
  for (size_t i = width; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes.at(offset + i));
  return value;
}

void WriteMethod(std::string& bytes, size_t offset, int method) {
  bytes.at(offset) = static_cast<char>(method & 0xFF);
  bytes.at(offset + 1) = static_cast<char>((method >> 8) & 0xFF);
}

// Sets the compression method of the i-th entry, in the central directory and in the entry's
// local header, for every entry that asked for a method minizip would not write.
void PatchOtherMethods(const std::string& archive_path, const std::vector<ZipEntry>& entries) {
  if (std::none_of(entries.begin(), entries.end(), HasOtherMethod)) return;
  std::ifstream in(archive_path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  const size_t end_record = bytes.rfind(std::string("PK\x05\x06", 4));
  if (end_record == std::string::npos) throw std::runtime_error("no end record in " + archive_path);
  size_t header = ReadLittleEndian(bytes, end_record + 16, 4);
  for (const ZipEntry& entry : entries) {
    if (HasOtherMethod(entry)) {
      WriteMethod(bytes, header + 10, entry.method);
      WriteMethod(bytes, ReadLittleEndian(bytes, header + 42, 4) + 8, entry.method);
    }
    header += 46 + ReadLittleEndian(bytes, header + 28, 2) + ReadLittleEndian(bytes, header + 30, 2) +
              ReadLittleEndian(bytes, header + 32, 2);
  }
  std::ofstream out(archive_path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot rewrite " + archive_path);
}

void AddEntry(zipFile archive, const ZipEntry& entry) {
  zip_fileinfo info{};
  info.tmz_date.tm_year = static_cast<uInt>(entry.year);
  info.tmz_date.tm_mon = static_cast<uInt>(entry.month - 1);
  info.tmz_date.tm_mday = static_cast<uInt>(entry.day);
  info.tmz_date.tm_hour = static_cast<uInt>(entry.hour);
  info.tmz_date.tm_min = static_cast<uInt>(entry.minute);
  info.tmz_date.tm_sec = static_cast<uInt>(entry.second);
  info.external_fa = entry.external_attributes;
  uLong made_by = 0;
  if (entry.unix_mode) {
    info.external_fa |= static_cast<uLong>(*entry.unix_mode) << 16;
    made_by = kMadeByUnix;
  }

  // Raw mode lets the test choose the stored CRC and bytes; otherwise minizip compresses.
  const bool raw = entry.crc_override.has_value() || entry.raw_bytes.has_value();
  const int level = entry.method == 8 ? Z_DEFAULT_COMPRESSION : 0;
  // minizip's zip API takes only stored and deflated; other methods are written as stored and
  // patched into the headers once the archive is finished (PatchOtherMethods).
  const int method = HasOtherMethod(entry) ? 0 : entry.method;
  if (zipOpenNewFileInZip4_64(archive, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              method, level, raw ? 1 : 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY,
                              nullptr, 0, made_by, entry.flag_bits, 0) != ZIP_OK) {
    throw std::runtime_error("cannot add zip entry " + entry.name);
  }
  std::string payload = entry.data;
  if (entry.raw_bytes) {
    payload = *entry.raw_bytes;
  } else if (raw && entry.method == 8) {
    payload = RawDeflate(entry.data);
  }
  if (!payload.empty() &&
      zipWriteInFileInZip(archive, payload.data(), static_cast<unsigned>(payload.size())) != ZIP_OK) {
    throw std::runtime_error("cannot write zip entry " + entry.name);
  }
  int closed;
  if (raw) {
    const uLong real_crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                 static_cast<uInt>(entry.data.size()));
    closed = zipCloseFileInZipRaw64(archive, entry.data.size(), entry.crc_override.value_or(real_crc));
  } else {
    closed = zipCloseFileInZip(archive);
  }
  if (closed != ZIP_OK) throw std::runtime_error("cannot close zip entry " + entry.name);
}

}  // namespace

void BuildZipWithMinizip(const std::string& archive_path, const std::vector<ZipEntry>& entries) {
  zipFile opened = zipOpen64(archive_path.c_str(), APPEND_STATUS_CREATE);
  if (!opened) throw std::runtime_error("cannot create " + archive_path);
  std::unique_ptr<void, ZipCloser> archive(opened);  // zipFile is a void pointer
  for (const auto& entry : entries) AddEntry(archive.get(), entry);
  if (zipClose(archive.release(), nullptr) != ZIP_OK) {
    throw std::runtime_error("cannot finish " + archive_path);
  }
  PatchOtherMethods(archive_path, entries);
}

}  // namespace qv::tools
