#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <thread>
#include <vector>

#include "child_process.h"
#include "store_record.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

class AtomicFileTest : public test::TempRootTest {};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST_F(AtomicFileTest, ReplacesWholeFileKeepingItsModeAndLeavesNoTemporaryFile) {
  const std::string file = root_.Path("record.xml");
  ASSERT_FALSE(WriteFileAtomically(file, "first"));
  EXPECT_EQ(test::ReadFileBytes(file), "first");
  chmod(file.c_str(), 0640);
  ASSERT_FALSE(WriteFileAtomically(file, std::string("sec\0ond", 7)));
  EXPECT_EQ(test::ReadFileBytes(file), std::string("sec\0ond", 7));
  EXPECT_EQ(ModeOf(file), 0640u);
  EXPECT_EQ(AtomicFileLockPath(file), root_.Path(".record.xml.lock"));
  EXPECT_TRUE(std::filesystem::exists(AtomicFileLockPath(file)));
  EXPECT_FALSE(std::filesystem::exists(AtomicFileTempPath(file)));
}

TEST_F(AtomicFileTest, UpdateReadsCurrentBytesAndMayLeaveTheFileAlone) {
  const std::string file = root_.Path("counter");
  std::vector<std::optional<std::string>> seen;
  const auto append = [&](const std::optional<std::string>& current) -> std::optional<std::string> {
    seen.push_back(current);
    return current.value_or("") + "x";
  };
  ASSERT_FALSE(UpdateFileAtomically(file, append));
  ASSERT_FALSE(UpdateFileAtomically(file, append));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_FALSE(seen[0].has_value());
  EXPECT_EQ(seen[1], "x");

  struct stat before {};
  stat(file.c_str(), &before);
  ASSERT_FALSE(
      UpdateFileAtomically(file, [](const auto&) { return std::optional<std::string>(); }));
  struct stat after {};
  stat(file.c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(test::ReadFileBytes(file), "xx");
}

TEST_F(AtomicFileTest, UnreadableTargetOrMissingFolderIsAnErrorAndNothingIsReplaced) {
  root_.WriteFile("folder/inside", "kept");
  bool called = false;
  const auto update = [&](const auto&) {
    called = true;
    return std::optional<std::string>("new");
  };
  EXPECT_TRUE(UpdateFileAtomically(root_.Path("folder"), update));
  EXPECT_FALSE(called);
  EXPECT_EQ(test::ReadFileBytes(root_.Path("folder/inside")), "kept");
  EXPECT_EQ(WriteFileAtomically(root_.Path("missing/file"), "x"),
            std::errc::no_such_file_or_directory);
}

TEST_F(AtomicFileTest, LongestNamesAndDeepPathsWork) {
  std::string folder = root_.Path("été and blanks");
  while (folder.size() < 3500) folder += "/" + std::string(250, 'f');
  std::filesystem::create_directories(folder);
  const std::string file = folder + "/" + std::string(255, 'n');
  ASSERT_FALSE(WriteFileAtomically(file, "long"));
  ASSERT_FALSE(WriteFileAtomically(file, "longer"));
  EXPECT_EQ(test::ReadFileBytes(file), "longer");
  const std::string lock_name = std::filesystem::path(AtomicFileLockPath(file)).filename();
  EXPECT_LE(lock_name.size(), 255u);
  EXPECT_NE(AtomicFileLockPath(file),
            AtomicFileLockPath(folder + "/" + std::string(254, 'n') + "m"));
}

TEST_F(AtomicFileTest, ThreadsUpdatingOneFileLoseNoChange) {
  constexpr int kThreads = 4;
  constexpr int kUpdatesEach = 50;
  const std::string file = root_.Path("shared");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&file, t] {
      for (int i = 0; i < kUpdatesEach; ++i) {
        UpdateFileAtomically(file, [t](const std::optional<std::string>& current) {
          return current.value_or("") + static_cast<char>('a' + t);
        });
      }
    });
  }
  for (auto& thread : threads) thread.join();
  const std::string result = test::ReadFileBytes(file).value_or("");
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(std::count(result.begin(), result.end(), 'a' + t), kUpdatesEach);
  }
}

TEST_F(AtomicFileTest, WriterEndedInsideAWriteLeavesTheOldRecordWhole) {
  constexpr size_t kRecordSize = 1 << 20;
  const std::string file = root_.Path("record");
  ASSERT_FALSE(WriteFileAtomically(file, test::StoreRecord(0, kRecordSize)));
  // The kernel ends the writer (SIGXFSZ) when its file passes half the record: exactly in the
  // middle of writing the new bytes.
  test::ChildProcess writer({QV_STORE_WRITER_PATH, "records", file, std::to_string(kRecordSize),
                             std::to_string(kRecordSize / 2)});
  ASSERT_TRUE(writer.started());
  EXPECT_EQ(writer.ReadLine(), std::nullopt);  // it never finished a generation
  EXPECT_EQ(writer.Wait(), -1);
  EXPECT_EQ(test::WholeStoreRecordGeneration(test::ReadFileBytes(file).value_or(""), kRecordSize),
            0);
  EXPECT_EQ(test::ReadFileBytes(AtomicFileTempPath(file)).value_or("").size(), kRecordSize / 2);
}

TEST_F(AtomicFileTest, KilledWriterLeavesTheOldOrTheNewRecordWhole) {
  constexpr size_t kRecordSize = 4 << 20;
  const std::string file = root_.Path("record");
  ASSERT_FALSE(WriteFileAtomically(file, test::StoreRecord(0, kRecordSize)));
  int last_generation = 0;
  for (int round = 1; round <= 5; ++round) {
    test::ChildProcess writer({QV_STORE_WRITER_PATH, "records", file, std::to_string(kRecordSize)});
    ASSERT_TRUE(writer.started());
    // Kill it right after generation `round` is in place, while it works on the next one.
    for (int seen = 0; seen < round;) {
      const std::optional<std::string> line = writer.ReadLine();
      ASSERT_TRUE(line.has_value());
      seen = std::stoi(*line);
    }
    writer.Kill(SIGKILL);
    EXPECT_EQ(writer.Wait(), -1);
    const std::optional<int> generation =
        test::WholeStoreRecordGeneration(test::ReadFileBytes(file).value_or(""), kRecordSize);
    ASSERT_TRUE(generation.has_value()) << "round " << round;
    EXPECT_GE(*generation, round);  // the writer may be ahead of what the test has read
    last_generation = *generation;
  }
  // A temporary file left by the last kill does not stand in the next writer's way.
  ASSERT_FALSE(WriteFileAtomically(file, "after"));
  EXPECT_EQ(test::ReadFileBytes(file), "after");
  EXPECT_GT(last_generation, 0);
}

}  // namespace
}  // namespace qv::platform
