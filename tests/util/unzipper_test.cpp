// Extraction of archives made by real tools (Info-ZIP zip, Python's zipfile, minizip's zip API)
// and of hand-built hostile ones.
#include "util/unzipper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "run_command.h"
#include "file_size_limit.h"
#include "temp_root.h"
#include "zip_builders.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;
using test::BuildZipWithInfoZip;
using test::BuildZipWithMinizip;
using test::ReadFileBytes;
using test::ZipEntry;

// Every path below `folder`, relative, folders marked with a trailing "/", links with "@".
std::set<std::string> Tree(const std::string& folder) {
  std::set<std::string> tree;
  if (!fs::exists(folder)) return tree;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    std::string name = fs::relative(item.path(), folder).string();
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
std::string MixedBytes(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245 + 12345;
    bytes[i] = (i / 512) % 2 == 0 ? static_cast<char>(state >> 24) : static_cast<char>('a' + i % 7);
  }
  return bytes;
}

// `data` as a raw deflate stream, as a zip entry stores it.
std::string RawDeflate(const std::string& data) {
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

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
  return status.st_mode;
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

TEST_F(UnzipperTest, ArchivesFromEveryToolUnpackIntoTheSameTree) {
  root_.WriteFile("src/QVorvane.exe", "client");
  root_.WriteFile("src/data/deep/readme.txt", "text");
  root_.WriteFile("src/data/empty.bin", "");
  ASSERT_EQ(::mkdir(root_.Path("src/data/void").c_str(), 0755), 0);
  BuildZipWithInfoZip(root_.Path("infozip.zip"), root_.Path("src"));

  const std::string script =
      "import sys, zipfile\n"
      "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
      "    z.writestr('QVorvane.exe', 'client')\n"
      "    z.writestr('data/deep/readme.txt', 'text')\n"
      "    z.writestr('data/empty.bin', '')\n"
      "    z.mkdir('data/void')\n";
  const auto python = test::RunCommand({"/usr/bin/python3", "-c", script, root_.Path("python.zip")});
  ASSERT_EQ(python.exit_code, 0) << python.output;

  // No folder entries at all: the folders come from the names.
  Archive({ZipEntry::File("QVorvane.exe", "client"), ZipEntry::File("data/deep/readme.txt", "text"),
           ZipEntry::File("data/empty.bin", ""), ZipEntry::Folder("data/void/")},
          "minizip.zip");

  const std::set<std::string> expected = {"QVorvane.exe", "data/",          "data/deep/",
                                          "data/deep/readme.txt", "data/empty.bin", "data/void/"};
  for (const char* name : {"infozip.zip", "python.zip", "minizip.zip"}) {
    SCOPED_TRACE(name);
    const std::string out = root_.Path(std::string("out-") + name);
    EXPECT_TRUE(ExtractArchive(root_.Path(name), out));
    EXPECT_EQ(Tree(out), expected);
    EXPECT_EQ(ReadFileBytes(out + "/QVorvane.exe"), "client");
    EXPECT_EQ(ReadFileBytes(out + "/data/deep/readme.txt"), "text");
    EXPECT_EQ(ReadFileBytes(out + "/data/empty.bin"), "");
  }
}

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

// Names below the destination are taken exactly as stored, as every folder on the way is: a
// file whose name differs only in case is another file here, and stays.
TEST_F(UnzipperTest, AFileNamedInAnotherCaseIsAnotherFile) {
  root_.WriteFile("work/dest/README.TXT", "already there");
  EXPECT_TRUE(ExtractArchive(Archive({ZipEntry::File("readme.txt", "from the archive")}), dest_));
  EXPECT_EQ(ReadFileBytes(dest_ + "/readme.txt"), "from the archive");
  EXPECT_EQ(ReadFileBytes(dest_ + "/README.TXT"), "already there");
}

TEST_F(UnzipperTest, ExistingFilesAndLinksAreReplacedNeverFollowed) {
  root_.WriteFile("work/dest/config.ini", "old and longer than the new text");
  root_.WriteFile("work/outside.txt", "must stay");
  ASSERT_EQ(::symlink(root_.Path("work/outside.txt").c_str(), (dest_ + "/link.txt").c_str()), 0);
  ASSERT_EQ(::chmod((dest_ + "/config.ini").c_str(), 0444), 0);

  EXPECT_TRUE(ExtractArchive(
      Archive({ZipEntry::File("config.ini", "new"), ZipEntry::File("link.txt", "replaced")}), dest_));
  EXPECT_EQ(ReadFileBytes(dest_ + "/config.ini"), "new");
  EXPECT_EQ(ReadFileBytes(dest_ + "/link.txt"), "replaced");
  EXPECT_TRUE(S_ISREG(ModeOf(dest_ + "/link.txt")));
  EXPECT_EQ(ReadFileBytes(root_.Path("work/outside.txt")), "must stay");
}

TEST_F(UnzipperTest, ALinkedFolderInsideTheDestinationIsNotWrittenThrough) {
  ASSERT_EQ(::mkdir(root_.Path("work").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(dest_.c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(root_.Path("elsewhere").c_str(), 0755), 0);
  ASSERT_EQ(::symlink(root_.Path("elsewhere").c_str(), (dest_ + "/bin").c_str()), 0);

  EXPECT_FALSE(ExtractArchive(Archive({ZipEntry::File("bin/tool", "x")}), dest_));
  EXPECT_FALSE(ExtractArchive(Archive({ZipEntry::Folder("bin/")}, "b.zip"), dest_));
  EXPECT_TRUE(Tree(root_.Path("elsewhere")).empty());
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

// A destination far past 260 characters (a long home folder) takes the whole archive, and so does an
// archive kept in such a folder; only a target past the system's own path limit fails.
TEST_F(UnzipperTest, LongDestinationsAndArchivePathsWork) {
  const std::string deep = root_.Path(std::string(200, 'h') + "/" + std::string(200, 'o'));
  fs::create_directories(deep);
  const std::string archive = Archive(
      {ZipEntry::File("app/QVorvane.exe", "client"), ZipEntry::File("app/plugins/p.dll", "p")},
      deep.substr(root_.Path("").size()) + "/package.zip");
  ASSERT_GT(archive.size(), 400u);
  EXPECT_TRUE(ExtractArchive(archive, deep + "/QVorvane"));
  EXPECT_EQ(ReadFileBytes(deep + "/QVorvane/app/plugins/p.dll"), "p");

  std::string too_deep = deep;
  while (too_deep.size() <= kMaxTargetPathLength) too_deep += "/" + std::string(200, 'd');
  EXPECT_FALSE(ExtractArchive(archive, too_deep));
}

// A destination whose folders exist in another letter case is filled where they are.
TEST_F(UnzipperTest, DestinationFoldersInAnotherSpellingAreTheOnesFilled) {
  fs::create_directories(root_.Path("work/QVORVANE/PLUGIN"));
  const std::string archive = Archive({ZipEntry::File("air/runtime.so", "runtime")});
  EXPECT_TRUE(ExtractArchive(archive, root_.Path("work/Qvorvane/plugin/air")));
  EXPECT_EQ(ReadFileBytes(root_.Path("work/QVORVANE/PLUGIN/air/air/runtime.so")), "runtime");
  EXPECT_EQ(Tree(root_.Path("work")).count("Qvorvane/"), 0u);
  EXPECT_FALSE(fs::exists(root_.Path("work/Qvorvane")));
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

TEST_F(UnzipperTest, ProgramsStayExecutableAndNoSpecialBitsAreRestored) {
  struct Case {
    std::string name;
    uint32_t stored_mode;
    mode_t expected;  // under umask 022
  };
  const std::vector<Case> cases = {
      {"tool", 0100755, 0755},   {"private", 0100600, 0600}, {"readonly", 0100444, 0444},
      {"setuid", 0104755, 0755}, {"shared", 0100666, 0644},  {"typeless", 0700, 0700},
  };
  std::vector<ZipEntry> entries;
  for (const Case& c : cases) {
    ZipEntry entry = ZipEntry::File(c.name, "#!/bin/sh\n");
    entry.unix_mode = c.stored_mode;
    entries.push_back(entry);
  }
  entries.push_back(ZipEntry::File("no-mode", "data"));  // made elsewhere: default bits
  const mode_t previous_umask = ::umask(022);
  EXPECT_TRUE(ExtractArchive(Archive(entries), dest_));
  ::umask(previous_umask);
  for (const Case& c : cases) {
    EXPECT_EQ(ModeOf(dest_ + "/" + c.name) & 07777, c.expected) << c.name;
  }
  EXPECT_EQ(ModeOf(dest_ + "/no-mode") & 07777, 0644u);

  // Info-ZIP keeps the mode of the file it packed.
  root_.WriteFile("src/run.sh", "#!/bin/sh\n");
  ASSERT_EQ(::chmod(root_.Path("src/run.sh").c_str(), 0755), 0);
  BuildZipWithInfoZip(root_.Path("tool.zip"), root_.Path("src"));
  EXPECT_TRUE(ExtractArchive(root_.Path("tool.zip"), root_.Path("tool")));
  EXPECT_EQ(ModeOf(root_.Path("tool/run.sh")) & 0111, 0111u);
}

TEST_F(UnzipperTest, StoredLinksBecomePlainFiles) {
  root_.WriteFile("src/target.txt", "t");
  ASSERT_EQ(::symlink("/etc/passwd", root_.Path("src/link").c_str()), 0);
  BuildZipWithInfoZip(root_.Path("links.zip"), root_.Path("src"), {"link", "target.txt"}, {"-y"});
  EXPECT_TRUE(ExtractArchive(root_.Path("links.zip"), dest_));
  EXPECT_TRUE(S_ISREG(ModeOf(dest_ + "/link")));
  EXPECT_EQ(ReadFileBytes(dest_ + "/link"), "/etc/passwd");
  EXPECT_EQ(ModeOf(dest_ + "/link") & 07777, 0644u);
}

TEST_F(UnzipperTest, TimestampsAreTheStoredLocalTime) {
  ::setenv("TZ", "QVT-5:30", 1);  // a zone far from UTC, so a UTC reading would show
  ::tzset();
  ZipEntry entry = ZipEntry::File("dated.txt", "x");
  entry.year = 2019;
  entry.month = 11;
  entry.day = 3;
  entry.hour = 23;
  entry.minute = 58;
  entry.second = 46;
  EXPECT_TRUE(ExtractArchive(Archive({entry}), dest_));

  struct stat status {};
  ASSERT_EQ(::stat((dest_ + "/dated.txt").c_str(), &status), 0);
  std::tm local{};
  ASSERT_NE(::localtime_r(&status.st_mtime, &local), nullptr);
  EXPECT_EQ(local.tm_year + 1900, 2019);
  EXPECT_EQ(local.tm_mon + 1, 11);
  EXPECT_EQ(local.tm_mday, 3);
  EXPECT_EQ(local.tm_hour, 23);
  EXPECT_EQ(local.tm_min, 58);
  EXPECT_EQ(local.tm_sec, 46);
  ::unsetenv("TZ");
  ::tzset();
}

TEST_F(UnzipperTest, AWriteOrCloseThatFailsFailsTheExtraction) {
  constexpr rlim_t kFileSizeLimit = 10'000;
  // The small entry fails only when the output buffer is flushed at close, the big one while
  // it is written.
  const std::vector<std::string> archives = {
      Archive({ZipEntry::File("small.txt", "fits"), ZipEntry::File("a.bin", std::string(20'000, 'a'))},
              "close.zip"),
      Archive({ZipEntry::File("small.txt", "fits"), ZipEntry::File("b.bin", std::string(1 << 20, 'b'))},
              "write.zip"),
  };
  for (const std::string& archive : archives) {
    SCOPED_TRACE(archive);
    fs::remove_all(dest_);
    bool extracted;
    {
      const test::FileSizeLimit full_disk(kFileSizeLimit);
      extracted = ExtractArchive(archive, dest_);
    }

    EXPECT_FALSE(extracted);
    EXPECT_EQ(ReadFileBytes(dest_ + "/small.txt"), "fits");
  }
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
