#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

class PrivateProfileTest : public test::TempRootTest {
 protected:
  std::string Read(std::string_view section, std::string_view key, const std::string& file,
                   std::string_view fallback = "<default>", size_t buffer = 260) {
    std::string out;
    GetPrivateProfileString(section, key, fallback, out, buffer, file);
    return out;
  }
};

TEST_F(PrivateProfileTest, ReadsFollowTheOriginalRules) {
  const std::string file = root_.WriteFile("config.ini",
                                           "\xEF\xBB\xBF; comment=not a key\r\n"
                                           "top=outside any section\r\n"
                                           "[General]\r\n"
                                           "  client_id  =  abc  \r\n"
                                           "Quoted=\"  with blanks  \"\r\n"
                                           "single='x'\r\n"
                                           "lone\"=\"x\r\n"
                                           "empty=\r\n"
                                           "path=C:\\q\\a=b\r\n"
                                           "[ general ]\r\n"
                                           "client_id=from the second section\r\n"
                                           "[Übung]\n"
                                           "Schlüssel=游戏\n");
  struct Case {
    std::string section, key, expected;
  };
  const Case cases[] = {
      {"General", "client_id", "abc"},
      {"GENERAL", "CLIENT_ID", "abc"},  // the first matching section is the one read
      {"General", "quoted", "  with blanks  "},
      {"General", "single", "x"},
      {"General", "lone\"", "\"x"},
      {"General", "empty", ""},
      {"General", "path", "C:\\q\\a=b"},
      {"General", "missing", "<default>"},
      {"General", "; comment", "<default>"},
      {"General", "top", "<default>"},
      {"Missing", "client_id", "<default>"},
      {"üBUNG", "SCHLÜSSEL", "游戏"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.section, c.key, file), c.expected) << c.key;
  EXPECT_EQ(Read("General", "client_id", root_.Path("missing.ini")), "<default>");
  EXPECT_EQ(Read("General", "client_id", root_.path()), "<default>");  // a folder
}

TEST_F(PrivateProfileTest, ReadCopiesAtMostBufferSizeLessOneUnits) {
  const std::string file = root_.WriteFile("a.ini", "[s]\nk=abcdef\nwide=a😀b\n");
  struct Case {
    std::string key;
    std::string fallback;
    size_t buffer;
    std::string expected;
  };
  const Case cases[] = {
      {"k", "", 4, "abc"},
      {"k", "", 7, "abcdef"},
      {"k", "", 1, ""},
      {"k", "", 0, ""},
      {"wide", "", 3, "a"},  // the emoji takes two units and is not split
      {"wide", "", 4, "a😀"},
      {"none", "defau  ", 260, "defau"},  // trailing blanks of the default go
      {"none", "default", 4, "def"},
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    const size_t copied = GetPrivateProfileString("s", c.key, c.fallback, out, c.buffer, file);
    EXPECT_EQ(out, c.expected) << c.key << " " << c.buffer;
    EXPECT_EQ(copied, c.expected == "a😀" ? 3u : c.expected.size());
  }
}

TEST_F(PrivateProfileTest, IntegersTakeSignAndLeadingDigitsOrHexadecimal) {
  const std::string file = root_.WriteFile("cfg.ini",
                                           "[main]\n"
                                           "ver=42\n"
                                           "neg=-7\n"
                                           "plus=+5\n"
                                           "mixed=12abc\n"
                                           "word=abc\n"
                                           "empty=\n"
                                           "blank=  9  \n"
                                           "big=4294967297\n"
                                           "hex=0x1fZ\n"
                                           "negative_hex=-0X10\n"
                                           "hex_alone=0x\n"
                                           "leading_zero=007\n");
  struct Case {
    std::string key;
    int expected;
  };
  const Case cases[] = {{"ver", 42},        {"neg", -7},   {"plus", 5},           {"mixed", 12},
                        {"word", 0},        {"empty", 77}, {"blank", 9},          {"big", 1},
                        {"missing", 77},    {"hex", 31},   {"negative_hex", -16}, {"hex_alone", 0},
                        {"leading_zero", 7}};
  for (const Case& c : cases)
    EXPECT_EQ(GetPrivateProfileInt("main", c.key, 77, file), c.expected) << c.key;
  EXPECT_EQ(GetPrivateProfileInt("main", "ver", 77, root_.Path("none.ini")), 77);
}

TEST_F(PrivateProfileTest, WriteReplacesInPlaceAndKeepsEveryOtherByte) {
  const std::string before =
      "; kept comment\r\n"
      "[General]\r\n"
      "Version = 1.0   \r\n"
      "odd line without equals\r\n"
      "ver=3\r\n"
      "\r\n"
      "[Other]\r\n"
      "version=untouched";
  const std::string file = root_.WriteFile("qvorvane.ini", before);
  ASSERT_TRUE(WritePrivateProfileString("general", "VERSION", "2.0", file));
  ASSERT_TRUE(WritePrivateProfileString("GENERAL", "air_ver", "7", file));
  ASSERT_TRUE(WritePrivateProfileString("Other", "added", "x", file));
  ASSERT_TRUE(WritePrivateProfileString("New Section", "k", "v", file));
  EXPECT_EQ(test::ReadFileBytes(file),
            "; kept comment\r\n"
            "[General]\r\n"
            "Version=2.0\r\n"
            "odd line without equals\r\n"
            "ver=3\r\n"
            "air_ver=7\r\n"
            "\r\n"
            "[Other]\r\n"
            "version=untouched\r\n"
            "added=x\r\n"
            "[New Section]\r\n"
            "k=v\r\n");

  const std::string fresh = root_.Path("home/.local/share/fresh.ini");
  ASSERT_TRUE(WritePrivateProfileString("General", "client_id", "abc", fresh));
  ASSERT_TRUE(WritePrivateProfileString("General", "client_id", "abc", fresh));
  EXPECT_EQ(test::ReadFileBytes(fresh), "[General]\nclient_id=abc\n");
}

TEST_F(PrivateProfileTest, AKeyAddedAfterALastLineEndingInACarriageReturnReadsBack) {
  struct Case {
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"[S]\nk\r", "[S]\nk\r\nkey=v\n"},
      {"[S]\r\nodd\r", "[S]\r\nodd\r\r\nkey=v\r\n"},
      {"[S]\nk=1\r\r", "[S]\nk=1\r\r\nkey=v\n"},
  };
  for (const Case& c : cases) {
    const std::string file = root_.WriteFile("cr.ini", c.before);
    ASSERT_TRUE(WritePrivateProfileString("S", "key", "v", file)) << c.before;
    EXPECT_EQ(test::ReadFileBytes(file), c.after) << c.before;
    EXPECT_EQ(Read("S", "key", file), "v") << c.before;
  }
}

TEST_F(PrivateProfileTest, WrittenValuesCannotAddLinesAndUnreadableNamesAreRefused) {
  const std::string file = root_.Path("inject.ini");
  const std::string hostile("a\r\n[Evil]\nkey=1\0tail", 20);
  ASSERT_TRUE(WritePrivateProfileString("General", "name", hostile, file));
  EXPECT_EQ(test::ReadFileBytes(file), "[General]\nname=a  [Evil] key=1\n");
  EXPECT_EQ(Read("Evil", "key", file), "<default>");

  struct Case {
    std::string section, key;
  };
  const Case refused[] = {{"", "k"},
                          {"a]b", "k"},
                          {"a\nb", "k"},
                          {"s", ""},
                          {"s", "a=b"},
                          {"s", "a\nb"},
                          {"s", "[x"},
                          {"s", ";x"},
                          {"  ", "k"},
                          {std::string("a\0b", 3), "k"},
                          {"s", std::string("a\0b", 3)}};
  for (const Case& c : refused) {
    EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, "v", file))
        << c.section << "/" << c.key;
  }
  EXPECT_EQ(test::ReadFileBytes(file), "[General]\nname=a  [Evil] key=1\n");
  EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", root_.Path("no/such/folder/x.ini")));
}

TEST_F(PrivateProfileTest, DamagedFileReadsDefaultsAndKeepsItsBytesOnWrite) {
  const char kGarbage[] = "\x00\xFF\xFE[Gen\x00=\x01\n\xC3(\n[General";
  const std::string garbage(kGarbage, sizeof(kGarbage) - 1);
  const std::string file = root_.WriteFile("damaged.ini", garbage);
  EXPECT_EQ(Read("General", "client_id", file), "<default>");
  ASSERT_TRUE(WritePrivateProfileString("General", "client_id", "abc", file));
  EXPECT_EQ(Read("General", "client_id", file), "abc");
  const std::string after = test::ReadFileBytes(file).value_or("");
  EXPECT_EQ(after.substr(0, garbage.size()), garbage);
}

TEST_F(PrivateProfileTest, NonAsciiBlankAndLongPathsWork) {
  std::string folder = root_.Path("游戏 été folder");
  while (folder.size() < 3000) folder += "/" + std::string(200, 'd');
  root_.WriteFile(folder.substr(root_.path().size() + 1) + "/.keep", "");
  const std::string file = folder + "/" + std::string(250, 'n') + ".ini";  // a 254-byte name
  ASSERT_TRUE(WritePrivateProfileString("Übung", "Schlüssel", "Wert Ⅲ", file));
  EXPECT_EQ(Read("üBUNG", "schlÜSSEL", file), "Wert Ⅲ");
}

TEST_F(PrivateProfileTest, WritersInSeveralProcessesLoseNoKey) {
  constexpr int kWriters = 4;
  constexpr int kKeysEach = 40;
  const std::string file = root_.Path("shared.ini");
  std::vector<std::unique_ptr<test::ChildProcess>> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.push_back(std::make_unique<test::ChildProcess>(
        std::vector<std::string>{QV_STORE_WRITER_PATH, "ini", file, "General",
                                 "w" + std::to_string(w) + "_", std::to_string(kKeysEach)}));
    ASSERT_TRUE(writers.back()->started());
  }
  for (auto& writer : writers) EXPECT_EQ(writer->Wait(), 0);
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kKeysEach; ++i) {
      const std::string key = "w" + std::to_string(w) + "_" + std::to_string(i);
      EXPECT_EQ(Read("General", key, file), key);
    }
  }
}

}  // namespace
}  // namespace qv::platform
