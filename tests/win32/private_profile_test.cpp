// The profile files on Windows: the bytes the system's own functions wrote, read back byte for
// byte and through the system; every write is still a whole replacement.
#include "platform/private_profile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "platform/win32/windows_api.h"

#include <string>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

using test::NamesInFolder;
using test::ReadWindowsFile;
using test::WriteWindowsFile;
using ::testing::ElementsAre;

class PrivateProfileTest : public test::WindowsTempFolderTest {
 protected:
  std::string Read(std::string_view section, std::string_view key, const std::string& file,
                   size_t buffer = 260) {
    std::string out;
    GetPrivateProfileString(section, key, "<default>", out, buffer, file);
    return out;
  }
};

TEST_F(PrivateProfileTest, WritesAreTheSystemsOwnBytesAndKeepEveryOtherLine) {
  const std::string file = root_.Path("qvorvane.ini");
  ASSERT_TRUE(WritePrivateProfileString("General", "version", "3.2.1", file));
  ASSERT_TRUE(WritePrivateProfileString("General", "ver", "45", file));
  ASSERT_TRUE(WritePrivateProfileString("main", "ver", "2", file));
  EXPECT_EQ(ReadWindowsFile(file), "[General]\r\nversion=3.2.1\r\nver=45\r\n[main]\r\nver=2\r\n");
  // An existing key is replaced where it stands; a comment and the other keys stay.
  ASSERT_TRUE(WriteWindowsFile(file, "; kept\r\n[General]\r\nversion=3.2.1\r\nver=45\r\n"));
  ASSERT_TRUE(WritePrivateProfileString("general", "VERSION", "3.3.0", file));
  EXPECT_EQ(ReadWindowsFile(file), "; kept\r\n[General]\r\nversion=3.3.0\r\nver=45\r\n");
  // Only the file and its writer lock are left in the folder.
  EXPECT_THAT(NamesInFolder(root_.path()), ElementsAre(".qvorvane.ini.lock", "qvorvane.ini"));
}

TEST_F(PrivateProfileTest, ReadsGoThroughTheSystemWithTheBufferSizeAsGiven) {
  const std::string file = root_.Path("a.ini");
  // A value of the system's code page (here 1252): stored in that code page.
  ASSERT_TRUE(WritePrivateProfileString("s", "k", "abcdef", file));
  ASSERT_TRUE(WritePrivateProfileString("s", "name", "\xC3\x9C" "bung", file));  // "Übung"
  EXPECT_EQ(ReadWindowsFile(file), "[s]\r\nk=abcdef\r\nname=\xDC" "bung\r\n");
  EXPECT_EQ(Read("s", "name", file), "\xC3\x9C" "bung");
  EXPECT_EQ(Read("S", "K", file), "abcdef");
  EXPECT_EQ(Read("s", "k", file, 4), "abc");
  EXPECT_EQ(Read("s", "missing", file), "<default>");
  EXPECT_EQ(Read("s", "k", root_.Path("missing.ini")), "<default>");
  ASSERT_TRUE(WritePrivateProfileString("n", "count", "0x1F", file));
  EXPECT_EQ(GetPrivateProfileInt("n", "count", 7, file), 31);
  EXPECT_EQ(GetPrivateProfileInt("n", "missing", 7, file), 7);
}

TEST_F(PrivateProfileTest, EntriesThatCouldNotBeReadBackAreRefusedAndValuesStayOneLine) {
  const std::string file = root_.Path("games.ini");
  EXPECT_FALSE(WritePrivateProfileString("General", "", "x", file));
  EXPECT_FALSE(WritePrivateProfileString("General", "a=b", "x", file));
  EXPECT_FALSE(WritePrivateProfileString("Gen]eral", "k", "x", file));
  EXPECT_EQ(ReadWindowsFile(file), std::nullopt);  // nothing was made
  ASSERT_TRUE(WritePrivateProfileString("General", "312", "two\r\nlines", file));
  EXPECT_EQ(ReadWindowsFile(file), "[General]\r\n312=two  lines\r\n");
}

TEST_F(PrivateProfileTest, WritersInSeveralThreadsLoseNoKey) {
  constexpr int kThreads = 4;
  constexpr int kKeysEach = 20;
  const std::string file = root_.Path("shared.ini");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&file, t] {
      for (int i = 0; i < kKeysEach; ++i) {
        EXPECT_TRUE(WritePrivateProfileString("General", "k" + std::to_string(t * 100 + i),
                                              std::to_string(i), file));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kKeysEach; ++i) {
      EXPECT_EQ(Read("General", "k" + std::to_string(t * 100 + i), file), std::to_string(i));
    }
  }
}

}  // namespace
}  // namespace qv::platform
