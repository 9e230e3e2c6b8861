// The extraction tests' fixture: archives built with minizip's zip API below a fresh temporary
// root, and what the tests read back (the tree below a folder, entry data of a chosen shape).
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "temp_root.h"
#include "util/unzipper.h"
#include "zip_builders.h"

namespace qv::util::test_support {

namespace fs = std::filesystem;
using test::BuildZipWithMinizip;
using test::ReadFileBytes;
using test::ZipEntry;

// Every path below `folder`, relative, folders marked with a trailing "/", links with "@".
inline std::set<std::string> Tree(const std::string& folder) {
  std::set<std::string> tree;
  if (!fs::exists(folder)) return tree;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    std::string name = fs::relative(item.path(), folder).generic_string();
    if (item.is_symlink()) {
      name += "@";
    } else if (item.is_directory()) {
      name += "/";
    }
    tree.insert(name);
  }
  return tree;
}

// Bytes that deflate to about half their size, so that a block of output needs many of input.
inline std::string MixedBytes(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245 + 12345;
    bytes[i] = (i / 512) % 2 == 0 ? static_cast<char>(state >> 24) : static_cast<char>('a' + i % 7);
  }
  return bytes;
}

// `data` as a raw deflate stream, as a zip entry stores it.
inline std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

class UnzipperTest : public test::TempRootTest {
 protected:
  std::string Archive(const std::vector<ZipEntry>& entries, const std::string& name = "a.zip") {
    const std::string path = root_.Path(name);
    BuildZipWithMinizip(path, entries);
    return path;
  }

  // The destination lives in its own folder, so anything written beside it shows up here.
  std::string dest_ = root_.Path("work/dest");
};

}  // namespace qv::util::test_support
