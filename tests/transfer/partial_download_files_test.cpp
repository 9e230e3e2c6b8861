// The partial-download record's text and the files a download keeps in the temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "temp_root.h"
#include "transfer/partial_download_files.h"
#include "transfer/partial_download_record.h"

namespace qv::transfer {
namespace {

namespace fs = std::filesystem;

TEST(PartialRecordTest, OnlyAWholeConsistentRecordIsRead) {
  const PartialRecord record{"https://cdn.qvorvane.example/p.zip", "\"e1\"", 500, 1000};
  const std::string text = FormatPartialRecord(record);
  EXPECT_EQ(text, "url=https://cdn.qvorvane.example/p.zip\nvalidator=\"e1\"\nbytes=500\ntotal=1000\n");
  EXPECT_EQ(ParsePartialRecord(text), record);

  struct Case {
    const char* name;
    std::string text;
  };
  const std::vector<Case> refused = {
      {"empty", ""},
      {"cut short", text.substr(0, text.size() - 1)},
      {"cut after the bytes", "url=u\nvalidator=v\nbytes=5\n"},
      {"keys in another order", "validator=v\nurl=u\nbytes=5\ntotal=9\n"},
      {"more after the end", text + "x\n"},
      {"no validator", "url=u\nvalidator=\nbytes=5\ntotal=9\n"},
      {"no byte held", "url=u\nvalidator=v\nbytes=0\ntotal=9\n"},
      {"every byte held", "url=u\nvalidator=v\nbytes=9\ntotal=9\n"},
      {"more bytes than the total", "url=u\nvalidator=v\nbytes=10\ntotal=9\n"},
      {"not a number", "url=u\nvalidator=v\nbytes=5x\ntotal=9\n"},
      {"negative", "url=u\nvalidator=v\nbytes=-5\ntotal=9\n"},
      {"too large", "url=u\nvalidator=v\nbytes=5\ntotal=99999999999999999999\n"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParsePartialRecord(c.text), std::nullopt);
  }
  // A value that would break the lines is never stored.
  EXPECT_EQ(FormatPartialRecord({"u\nbytes=1", "v", 5, 9}), "");
  EXPECT_EQ(FormatPartialRecord({"u", "v\r", 5, 9}), "");
}

TEST(PartialDownloadPathTest, OneNamePerUrlWithOurPrefix) {
  const std::string a = PartialDownloadPath("/t/", "https://cdn.qvorvane.example/a.zip");
  EXPECT_EQ(a, PartialDownloadPath("/t/", "https://cdn.qvorvane.example/a.zip"));
  EXPECT_NE(a, PartialDownloadPath("/t/", "https://cdn.qvorvane.example/b.zip"));
  EXPECT_TRUE(a.starts_with("/t/qvordl_")) << a;
  EXPECT_TRUE(a.ends_with(".part")) << a;
  EXPECT_EQ(fs::path(a).filename().string().size(), std::string("qvordl_.part").size() + 16);
}

TEST(StalePartialDownloadsTest, OnlyOurFilesOfUrlsNotInUseAreRemoved) {
  test::TempRoot root;
  const std::string folder = root.Path("tmp/");
  fs::create_directories(folder);
  const auto make = [&](const std::string& path) {
    root.WriteFile(fs::relative(path, root.path()).string(), "x");
  };
  const auto all_files_of = [](const std::string& download) {
    const std::string record = PartialRecordPath(download);
    return std::vector<std::string>{download, record, platform::AtomicFileLockPath(record),
                                    platform::AtomicFileTempPath(record)};
  };
  const std::string used = PartialDownloadPath(folder, "https://cdn.qvorvane.example/used.zip");
  const std::string stale = PartialDownloadPath(folder, "https://cdn.qvorvane.example/old.zip");
  for (const auto& path : all_files_of(used)) make(path);
  for (const auto& path : all_files_of(stale)) make(path);
  make(folder + "qvordl_orphan.part");
  make(folder + "someone_elses.part");
  make(folder + "qvorinstall_123.tmp");
  fs::create_directories(folder + "qvordl_folder");

  DeleteStalePartialDownloads(folder, {"https://cdn.qvorvane.example/used.zip", ""});

  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) {
    left.insert(entry.path().filename().string());
  }
  std::set<std::string> expected = {"someone_elses.part", "qvorinstall_123.tmp", "qvordl_folder"};
  for (const auto& path : all_files_of(used)) expected.insert(fs::path(path).filename().string());
  EXPECT_EQ(left, expected);

  DeletePartialDownload(used);
  for (const auto& path : all_files_of(used)) EXPECT_FALSE(fs::exists(path)) << path;
}

}  // namespace
}  // namespace qv::transfer
