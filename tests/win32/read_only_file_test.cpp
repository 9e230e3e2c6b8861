// Reading at any offset on Windows, as the archive reader does.
#include "platform/read_only_file.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

class ReadOnlyFileTest : public test::WindowsTempFolderTest {};

TEST_F(ReadOnlyFileTest, ReadsAtEveryOffsetUpToTheEnd) {
  const std::string path = root_.Path("archive.zip");
  ASSERT_TRUE(test::WriteWindowsFile(path, "0123456789"));
  auto file = ReadOnlyFile::Open(path);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->size(), 10u);
  char buffer[8] = {};
  EXPECT_EQ(file->ReadAt(6, buffer, sizeof buffer), 4);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(file->ReadAt(0, buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "012");
  EXPECT_EQ(file->ReadAt(10, buffer, sizeof buffer), 0);
  EXPECT_EQ(file->ReadAt(uint64_t{1} << 40, buffer, sizeof buffer), 0);
  // Moved, the file is still open once.
  ReadOnlyFile moved = std::move(*file);
  EXPECT_EQ(moved.ReadAt(1, buffer, 1), 1);
  EXPECT_EQ(buffer[0], '1');
}

TEST_F(ReadOnlyFileTest, OnlyAnExistingRegularFileOpens) {
  EXPECT_FALSE(ReadOnlyFile::Open(root_.Path("missing.zip")).has_value());
  EXPECT_FALSE(ReadOnlyFile::Open(root_.path()).has_value());
}

}  // namespace
}  // namespace qv::platform
