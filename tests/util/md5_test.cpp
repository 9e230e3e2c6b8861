#include "util/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "temp_root.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

using test::TempRootTest;

TEST(Md5Test, Rfc1321TestSuite) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [text, digest] : vectors) EXPECT_EQ(Md5HexOfText(text), digest) << text;
}

TEST(Md5Test, PiecewiseUpdatesEqualOneUpdateAtEveryBlockBoundary) {
  std::string data(300, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31 + 7);
  // Lengths around the 55/56/64-byte padding boundaries exercise the two-block tail.
  for (size_t length : {0u, 1u, 55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 300u}) {
    const std::string whole = Md5HexOfText(data.substr(0, length));
    for (size_t piece : {1u, 3u, 63u, 64u, 65u}) {
      Md5Context context;
      Md5Init(context);
      for (size_t offset = 0; offset < length; offset += piece) {
        Md5Update(context, data.data() + offset, std::min(piece, length - offset));
      }
      uint8_t digest[kMd5DigestSize];
      Md5Final(context, digest);
      char hex[kMd5HexSize];
      Md5Hex(digest, hex);
      EXPECT_EQ(hex, whole) << "length " << length << " piece " << piece;
      // Final leaves nothing of the message behind.
      EXPECT_EQ(context.state[0] | context.state[1] | context.count[0] | context.buffer[0], 0u);
    }
  }
}

class Md5FileTest : public TempRootTest {};

TEST_F(Md5FileTest, MatchesOnlyTheExactLowerCaseDigestOfAReadableFile) {
  const std::string abc = root_.WriteFile("J\u00fcrgen \u65e5\u672c/pkg.zip", "abc");
  const std::string empty = root_.WriteFile("empty.bin", "");
  const std::string digest = "900150983cd24fb0d6963f7d28e17f72";
  struct Case {
    std::string expected;
    std::string path;
    bool matches;
  };
  const Case cases[] = {
      {digest, abc, true},
      // found as every file operation finds it: either separator, any letter case
      {digest, root_.Path("J\u00fcrgen \u65e5\u672c\\PKG.ZIP"), true},
      {"900150983CD24FB0D6963F7D28E17F72", abc, false},  // upper case
      {digest.substr(0, 31), abc, false},
      {digest + "0", abc, false},
      {"", abc, false},
      {std::string(digest).append(1, '\0'), abc, false},
      {"d41d8cd98f00b204e9800998ecf8427e", empty, true},
      {"d41d8cd98f00b204e9800998ecf8427e", root_.Path("missing.zip"), false},
      {"d41d8cd98f00b204e9800998ecf8427e", root_.Path("home"), false},  // a folder
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Md5Matches(c.expected, Utf8ToWide(c.path)), c.matches) << c.expected << " " << c.path;
  }
}

TEST_F(Md5FileTest, UnreadableFileLeavesTheDigestAlone) {
  uint8_t digest[kMd5DigestSize];
  std::fill(std::begin(digest), std::end(digest), 0xAB);
  EXPECT_FALSE(Md5File(digest, root_.Path("missing")));
  EXPECT_FALSE(Md5File(digest, root_.Path("tmp")));
  for (uint8_t byte : digest) EXPECT_EQ(byte, 0xAB);
}

}  // namespace
}  // namespace qv::util
