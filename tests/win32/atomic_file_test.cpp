// The atomically replaced records on the Windows side: what the system stored, read back
// through the system.
#include "platform/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "platform/win32/windows_api.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "platform/whole_file.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

using test::NamesInFolder;
using test::ReadWindowsFile;
using test::WriteWindowsFile;
using ::testing::ElementsAre;

class AtomicFileTest : public test::WindowsTempFolderTest {};

// The identity of the file a path names now (changes when the file is replaced).
uint64_t FileIdentity(const std::string& path) {
  const auto file = win32::OwnHandle(CreateFileW(win32::Wide(path).c_str(), 0,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return 0;
  return (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

TEST_F(AtomicFileTest, ReplacesTheWholeFileAndLeavesOnlyItsLockBeside) {
  // Either separator, and a name the ANSI code page cannot spell.
  for (const std::string separator : {"\\", "/"}) {
    const std::string folder = root_.Path(separator == "\\" ? "back" : "forward");
    ASSERT_TRUE(CreateDirectoryW(win32::Wide(folder).c_str(), nullptr));
    const std::string file = folder + separator + "Tides of Valoria \u2162.ini";
    ASSERT_FALSE(WriteFileAtomically(file, "first"));
    ASSERT_FALSE(WriteFileAtomically(file, std::string("sec\0ond", 7)));
    EXPECT_EQ(ReadWindowsFile(file), std::string("sec\0ond", 7));
    EXPECT_EQ(AtomicFileLockPath(file), folder + separator + ".Tides of Valoria \u2162.ini.lock");
    EXPECT_THAT(NamesInFolder(folder), ElementsAre(".Tides of Valoria \u2162.ini.lock",
                                                   "Tides of Valoria \u2162.ini"));
  }
}

TEST_F(AtomicFileTest, UpdateReadsTheCurrentBytesAndMayLeaveTheFileAlone) {
  const std::string file = root_.Path("counter");
  std::vector<std::optional<std::string>> seen;
  const auto append = [&](const std::optional<std::string>& current) -> std::optional<std::string> {
    seen.push_back(current);
    return current.value_or("") + "x";
  };
  ASSERT_FALSE(UpdateFileAtomically(file, append));
  ASSERT_FALSE(UpdateFileAtomically(file, append));
  EXPECT_THAT(seen, ElementsAre(std::nullopt, "x"));

  const uint64_t before = FileIdentity(file);
  ASSERT_FALSE(UpdateFileAtomically(file, [](const auto&) { return std::optional<std::string>(); }));
  EXPECT_EQ(FileIdentity(file), before);
  EXPECT_EQ(ReadWindowsFile(file), "xx");
}

TEST_F(AtomicFileTest, MissingFolderOrAFolderAsTargetIsAnErrorAndNothingIsReplaced) {
  ASSERT_TRUE(CreateDirectoryW(win32::Wide(root_.Path("folder")).c_str(), nullptr));
  ASSERT_TRUE(WriteWindowsFile(root_.Path("folder\\inside"), "kept"));
  bool called = false;
  const auto update = [&](const auto&) {
    called = true;
    return std::optional<std::string>("new");
  };
  EXPECT_TRUE(UpdateFileAtomically(root_.Path("folder"), update));
  EXPECT_FALSE(called);
  EXPECT_EQ(ReadWindowsFile(root_.Path("folder\\inside")), "kept");
  EXPECT_EQ(WriteFileAtomically(root_.Path("missing\\file"), "x"),
            std::errc::no_such_file_or_directory);
  std::string bytes = "stale";
  EXPECT_EQ(ReadWholeFile(root_.Path("missing.ini"), bytes), std::errc::no_such_file_or_directory);
  EXPECT_EQ(bytes, "");
}

// A temporary file left by a killed writer (here: planted, read-only) never ends up in the record.
TEST_F(AtomicFileTest, ALeftoverTemporaryFileIsReplacedNotReused) {
  const std::string file = root_.Path("record.xml");
  ASSERT_TRUE(WriteWindowsFile(AtomicFileTempPath(file), "half a record from a killed wri"));
  ASSERT_FALSE(WriteFileAtomically(file, "<whole/>"));
  EXPECT_EQ(ReadWindowsFile(file), "<whole/>");
  EXPECT_EQ(ReadWindowsFile(AtomicFileTempPath(file)), std::nullopt);
}

TEST_F(AtomicFileTest, ThreadsUpdatingOneFileLoseNoChange) {
  constexpr int kThreads = 4;
  constexpr int kUpdatesEach = 50;
  const std::string file = root_.Path("shared");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&file, t] {
      for (int i = 0; i < kUpdatesEach; ++i) {
        EXPECT_FALSE(UpdateFileAtomically(file, [t](const std::optional<std::string>& current) {
          return current.value_or("") + static_cast<char>('a' + t);
        }));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  const std::string result = ReadWindowsFile(file).value_or("");
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(std::count(result.begin(), result.end(), 'a' + t), kUpdatesEach);
  }
}

}  // namespace
}  // namespace qv::platform
