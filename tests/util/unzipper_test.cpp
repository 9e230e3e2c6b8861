// Extraction of archives built with minizip's zip API, hand-built hostile ones included: what
// holds on every system.
#include "util/unzipper.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "unzipper_test_support.h"
#include "system_files.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::ZipEntry;
using test_support::MixedBytes;
using test_support::RawDeflate;
using test_support::Tree;
using test_support::UnzipperTest;

TEST_F(UnzipperTest, LargeEntriesOfBothMethodsArriveWhole) {
  std::string noise(3'000'000, '\0');
  uint32_t state = 1;
  for (char& c : noise) c = static_cast<char>((state = state * 1103515245 + 12345) >> 24);
  ZipEntry stored = ZipEntry::File("stored.bin", noise);
  stored.method = 0;
  const std::string text = std::string(1'000'000, 'x') + noise.substr(0, 4099);
  EXPECT_TRUE(ExtractArchive(Archive({stored, ZipEntry::File("deflated.txt", text)}), dest_));
  EXPECT_EQ(ReadFileBytes(dest_ + "/stored.bin"), noise);
  EXPECT_EQ(ReadFileBytes(dest_ + "/deflated.txt"), text);
}

// Entries up to one block are read through minizip, larger ones inflated here from the archive
// file while another thread writes: every size around the block's edges arrives whole.
TEST_F(UnzipperTest, EntriesOfEverySizeAroundTheReadBlockArriveWhole) {
  const size_t block = kEntryReadChunkSize;
  std::vector<ZipEntry> entries;
  for (const size_t size : {size_t{1}, block - 1, block, block + 1, 2 * block, 5 * block + 77}) {
    for (const int method : {0, 8}) {
      ZipEntry entry = ZipEntry::File(std::to_string(size) + "-" + std::to_string(method),
                                      MixedBytes(size, static_cast<uint32_t>(size + method)));
      entry.method = method;
      entries.push_back(std::move(entry));
    }
  }
  ASSERT_TRUE(ExtractArchive(Archive(entries), dest_));
  for (const ZipEntry& entry : entries) {
    EXPECT_EQ(ReadFileBytes(dest_ + "/" + entry.name), entry.data) << entry.name;
  }
}

TEST_F(UnzipperTest, DamagedLargeEntriesFailTheExtraction) {
  const std::string data = MixedBytes(3 * kEntryReadChunkSize + 5, 7);
  ZipEntry bad_crc = ZipEntry::File("bad-crc.bin", data);
  bad_crc.crc_override = 0x12345678;
  ZipEntry bad_crc_stored = bad_crc;
  bad_crc_stored.method = 0;
  ZipEntry garbage = ZipEntry::File("garbage.bin", data);
  garbage.raw_bytes = std::string(kEntryReadChunkSize, '\xff');  // not a deflate stream
  ZipEntry short_stored = ZipEntry::File("short-stored.bin", data);
  short_stored.method = 0;
  short_stored.raw_bytes = data.substr(0, data.size() / 2);  // declares all, holds half
  ZipEntry short_stream = ZipEntry::File("short-stream.bin", data);
  short_stream.raw_bytes = RawDeflate(data.substr(0, data.size() / 2));  // ends at half
  ZipEntry cut_stream = ZipEntry::File("cut-stream.bin", data);
  const std::string whole_stream = RawDeflate(data);
  cut_stream.raw_bytes = whole_stream.substr(0, whole_stream.size() / 2);  // data runs out

  for (const ZipEntry& entry :
       {bad_crc, bad_crc_stored, garbage, short_stored, short_stream, cut_stream}) {
    SCOPED_TRACE(entry.name);
    fs::remove_all(root_.Path("work"));
    EXPECT_FALSE(ExtractArchive(
        Archive({ZipEntry::File("first.txt", "kept"), entry, ZipEntry::File("last.txt", "x")}), dest_));
    EXPECT_EQ(ReadFileBytes(dest_ + "/first.txt"), "kept");
    EXPECT_FALSE(fs::exists(dest_ + "/last.txt"));
  }
}

TEST_F(UnzipperTest, UnsafeNamesFailAndWriteNothingOutside) {
  const std::vector<std::string> names = {
      "../evil.txt", "a/../../evil.txt", "..\\evil.txt", "a\\..\\..\\evil.txt",
      root_.Path("work/evil.txt"), "\\" + root_.Path("work/evil.txt").substr(1),
      "C:\\evil.txt", "c:evil.txt", "a/..", "../dest2/",
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ZipEntry entry = ZipEntry::File(name, "payload");
    if (name.back() == '/') entry = ZipEntry::Folder(name);
    EXPECT_FALSE(ExtractArchive(Archive({ZipEntry::File("first.txt", "kept"), entry}), dest_));
    EXPECT_EQ(Tree(root_.Path("work")), (std::set<std::string>{"dest/", "dest/first.txt"}));
  }
}

// Entries that the unzip library would hand over without complaint.
TEST_F(UnzipperTest, HostileEntriesFailTheExtraction) {
  ZipEntry encrypted = ZipEntry::File("secret.txt", "plain after all");
  encrypted.flag_bits = 1;
  ZipEntry bzip2 = ZipEntry::File("other-method.bin", "data");
  bzip2.method = 12;
  bzip2.raw_bytes = "data";  // readable as if stored: only the method gives it away
  ZipEntry garbage = ZipEntry::File("garbage.bin", std::string(5000, 'g'));
  garbage.raw_bytes = std::string(600, '\xff');  // not a deflate stream: a negative read
  ZipEntry short_data = ZipEntry::File("short.bin", std::string(5000, 's'));
  short_data.method = 0;
  short_data.raw_bytes = std::string(1000, 's');  // declares 5000 bytes, holds 1000
  ZipEntry bad_crc = ZipEntry::File("bad-crc.txt", "payload that does not match its CRC");
  bad_crc.crc_override = 0x12345678;
  ZipEntry bad_crc_stored = bad_crc;
  bad_crc_stored.method = 0;
  const ZipEntry long_name = ZipEntry::File(std::string(kMaxEntryNameLength + 1, 'n'), "x");
  // Fits the name buffer, but one component is longer than the system allows for a name.
  const ZipEntry long_component = ZipEntry::File(std::string(256, 't'), "x");
  // Without the folder attribute a name ending in "/" is a file that cannot be made.
  ZipEntry unmarked_folder = ZipEntry::File("data/", "");

  for (const ZipEntry& entry : {encrypted, bzip2, garbage, short_data, bad_crc, bad_crc_stored,
                                long_name, long_component, unmarked_folder}) {
    SCOPED_TRACE(entry.name.substr(0, 40));
    fs::remove_all(root_.Path("work"));
    EXPECT_FALSE(ExtractArchive(
        Archive({ZipEntry::File("first.txt", "kept"), entry, ZipEntry::File("last.txt", "x")}), dest_));
    // What came before stays; nothing after it is unpacked; nothing lands beside the folder.
    EXPECT_EQ(ReadFileBytes(dest_ + "/first.txt"), "kept");
    EXPECT_FALSE(fs::exists(dest_ + "/last.txt"));
    EXPECT_EQ(Tree(root_.Path("work")).count("dest/"), 1u);
    for (const auto& path : Tree(root_.Path("work"))) EXPECT_EQ(path.rfind("dest/", 0), 0u) << path;
  }
}

// A destination whose folders exist in another letter case is filled where they are.
TEST_F(UnzipperTest, DestinationFoldersInAnotherSpellingAreTheOnesFilled) {
  fs::create_directories(root_.Path("work/QVORVANE/PLUGIN"));
  const std::string archive = Archive({ZipEntry::File("air/runtime.so", "runtime")});
  EXPECT_TRUE(ExtractArchive(archive, root_.Path("work/Qvorvane/plugin/air")));
  EXPECT_EQ(ReadFileBytes(root_.Path("work/QVORVANE/PLUGIN/air/air/runtime.so")), "runtime");
  EXPECT_EQ(Tree(root_.Path("work")).count("Qvorvane/"), 0u);
  if (!test::OnWindows()) {  // where names keep their case apart
    EXPECT_FALSE(fs::exists(root_.Path("work/Qvorvane")));
  }
}

TEST_F(UnzipperTest, EmptyTruncatedAndMissingArchivesFail) {
  root_.WriteFile("work/dest/kept.txt", "already here");
  const std::string empty = Archive({}, "empty.zip");
  const std::string truncated =
      Archive({ZipEntry::File("a.txt", std::string(50'000, 'a')), ZipEntry::File("b.txt", "b")},
              "truncated.zip");
  test::TruncateFile(truncated, fs::file_size(truncated) - 30);
  const std::string not_zip = root_.WriteFile("not.zip", "just text, no archive");

  for (const std::string& archive : {empty, truncated, not_zip, root_.Path("missing.zip"),
                                     std::string()}) {
    SCOPED_TRACE(archive);
    EXPECT_FALSE(ExtractArchive(archive, dest_));
    EXPECT_EQ(Tree(dest_), std::set<std::string>{"kept.txt"});
  }
  EXPECT_FALSE(ExtractArchive(Archive({ZipEntry::File("a.txt", "a")}), ""));
}

TEST_F(UnzipperTest, EntriesGoToTheDefaultFolderWhenNoneIsGiven) {
  const std::string archive = Archive({ZipEntry::File("inner/a.txt", "a")}, "package.v2.zip");
  CUnzipper unzipper;
  ASSERT_TRUE(unzipper.OpenArchive(archive));
  EXPECT_EQ(unzipper.default_output_folder(), root_.Path("package.v2"));
  ASSERT_TRUE(unzipper.MoveToFirstEntry());
  ZipEntryInfo info;
  ASSERT_TRUE(unzipper.ReadEntryInfo(info));
  EXPECT_EQ(info.name, "inner\\a.txt");
  EXPECT_FALSE(info.is_folder);
  EXPECT_TRUE(unzipper.ExtractCurrentEntryTo(""));
  EXPECT_FALSE(unzipper.MoveToNextEntry());
  EXPECT_EQ(ReadFileBytes(root_.Path("package.v2/inner/a.txt")), "a");

  EXPECT_FALSE(unzipper.OpenArchive(root_.Path(std::string(kMaxArchivePathLength, 'p') + ".zip")));
  EXPECT_FALSE(unzipper.is_open());
}

TEST_F(UnzipperTest, RelativePathsAreBelowTheCurrentFolder) {
  Archive({ZipEntry::File("inner/a.txt", "a")}, "relative.zip");
  const fs::path previous = fs::current_path();
  fs::current_path(root_.path());
  const bool into_plain_name = ExtractArchive("relative.zip", "out");
  const bool into_nested = ExtractArchive("relative.zip", "deeper/out");
  CUnzipper unzipper;
  const bool opened = unzipper.OpenArchive("relative.zip");
  fs::current_path(previous);

  EXPECT_TRUE(into_plain_name);
  EXPECT_TRUE(into_nested);
  EXPECT_EQ(ReadFileBytes(root_.Path("out/inner/a.txt")), "a");
  EXPECT_EQ(ReadFileBytes(root_.Path("deeper/out/inner/a.txt")), "a");
  ASSERT_TRUE(opened);
  EXPECT_EQ(unzipper.default_output_folder(), root_.Path("relative"));
}

}  // namespace
}  // namespace qv::util
