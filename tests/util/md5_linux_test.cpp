// The file digest against the system's own md5sum tool, an independent reading of the same
// bytes (a Linux tool).
#include "util/md5.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "run_command.h"
#include "temp_root.h"

namespace qv::util {
namespace {

using Md5sumTest = test::TempRootTest;

TEST_F(Md5sumTest, FileDigestEqualsMd5sumOnAMultiMegabyteFile) {
  std::mt19937 generator(1321);
  std::string data(5 * 1024 * 1024 + 777, '\0');  // not a multiple of the read size
  for (auto& byte : data) byte = static_cast<char>(generator());
  const std::string path = root_.WriteFile("downloads/qvorinstall_1234.tmp", data);

  const test::CommandResult md5sum = test::RunCommand({"md5sum", path});
  ASSERT_EQ(md5sum.exit_code, 0) << md5sum.output;
  uint8_t digest[kMd5DigestSize];
  ASSERT_TRUE(Md5File(digest, path));
  char hex[kMd5HexSize];
  Md5Hex(digest, hex);
  EXPECT_EQ(std::string(hex), md5sum.output.substr(0, 32));
  EXPECT_EQ(std::string(hex), Md5HexOfText(data));
}

}  // namespace
}  // namespace qv::util
