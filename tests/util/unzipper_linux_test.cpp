// Extraction where Linux itself is part of the test: archives from the Info-ZIP tool and Python, file
// modes, symbolic links, names that differ only in letter case, the local time zone, a full disk
// (a file size limit) and paths past 260 characters.
#include "util/unzipper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "run_command.h"
#include "unzipper_test_support.h"

namespace qv::util {
namespace {

namespace fs = std::filesystem;
using test::BuildZipWithInfoZip;
using test::BuildZipWithMinizip;
using test::ReadFileBytes;
using test::ZipEntry;
using test_support::Tree;
using test_support::UnzipperTest;

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
  return status.st_mode;
}

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

}  // namespace
}  // namespace qv::util
