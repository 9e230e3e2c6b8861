#include "workflow/shortcuts/launch_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "util/text_conversion.h"
#include "workflow/shortcuts/base64_coding.h"

namespace qv::workflow {
namespace {

std::string Encode(const std::string& input) {
  char out[kBase64OutputSize] = {};
  CBase64Coding coding;
  EXPECT_TRUE(coding.Base64Encode(reinterpret_cast<const uint8_t*>(input.data()), input.size(),
                                  out));
  return out;
}

TEST(Base64CodingTest, PaddingFollowsTheLastGroup) {
  const struct {
    const char* input;
    const char* encoded;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foobar", "Zm9vYmFy"},
      {"\xff\xfe\xfd", "//79"},
      {"0123456789abcdef", "MDEyMzQ1Njc4OWFiY2RlZg=="},  // 16 bytes: 24 characters
      {"0123456789abcde", "MDEyMzQ1Njc4OWFiY2Rl"},       // 15 bytes: 20 characters
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Encode(cases[i].input), cases[i].encoded) << "case " << i;
  }
}

TEST(Base64CodingTest, BreaksLinesAfterSeventyTwoCharactersOnlyWhenMoreFollows) {
  EXPECT_EQ(Encode(std::string(54, 'a')).find('\r'), std::string::npos);  // exactly 72
  const std::string longest = Encode(std::string(63, 'a'));                // 84 characters
  ASSERT_EQ(longest.size(), 86u);
  EXPECT_EQ(longest.substr(72, 2), "\r\n");
  EXPECT_EQ(longest.find('\r', 74), std::string::npos);
  EXPECT_EQ(Base64EncodedLength(63), 86u);
}

TEST(Base64CodingTest, RefusesInputThatDoesNotFitTheBuffer) {
  char out[kBase64OutputSize + 1] = {};
  out[kBase64OutputSize] = 'X';  // guard byte past the buffer
  const std::string input(200, 'a');
  CBase64Coding coding;
  EXPECT_FALSE(coding.Base64Encode(reinterpret_cast<const uint8_t*>(input.data()), input.size(),
                                   out));
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(out[kBase64OutputSize], 'X');
  // 90 bytes give 120 characters and one break: 123 with the terminator, still fits.
  EXPECT_TRUE(coding.Base64Encode(reinterpret_cast<const uint8_t*>(input.data()), 90, out));
  EXPECT_EQ(out[kBase64OutputSize], 'X');
}

InstallRecord Record(const char* name, const char* id, uint8_t user_from) {
  InstallRecord record;
  std::strncpy(record.game.game_name, name, sizeof record.game.game_name - 1);
  std::strncpy(record.game.game_id, id, sizeof record.game.game_id - 1);
  record.user_from = user_from;
  return record;
}

TEST(LaunchLineTest, PiecesAppearInOrderAndOnlyWhenSet) {
  const struct {
    InstallRecord record;
    const char* code;
    std::u16string line;
  } cases[] = {
      {Record("0123456789abcdef", "1001", 3), "tov3_web",
       u" /startgame=MDEyMzQ1Njc4OWFiY2RlZg== /game_id=1001 /flag=tov3_web /user_frome=3"},
      {Record("0123456789abcde", "", 0), "tov3_web",
       u" /startgame=MDEyMzQ1Njc4OWFiY2Rl /flag=tov3_web /user_frome=0"},
      {Record("", "7", 255), "", u" /game_id=7 /user_frome=255"},
      {Record("", "", 0), "", u" /user_frome=0"},
      {Record("\xc3\xa4", "\xc3\xa4", 1), "\xc3\xa4",  // UTF-8 bytes: encoded raw, widened
       u" /startgame=w6Q= /game_id=\u00e4 /flag=\u00e4 /user_frome=1"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(BuildLaunchArguments(cases[i].record, cases[i].code), cases[i].line)
        << "case " << i;
  }
}

TEST(LaunchLineTest, AFullLengthNameStaysWithinTheClientsBuffer) {
  InstallRecord record;
  std::memset(record.game.game_name, 'n', sizeof record.game.game_name);  // no terminator
  const std::u16string line = BuildLaunchArguments(record, "");
  const std::u16string expected_name = util::AnsiToWide(Encode(std::string(63, 'n')));
  EXPECT_EQ(line, u" /startgame=" + expected_name + u" /user_frome=0");
}

}  // namespace
}  // namespace qv::workflow
