#include "platform/executable_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv::platform {
namespace {

TEST(ExecutablePathTest, IsTheFullPathOfThisProgram) {
  const std::string path = ExecutablePath();
  EXPECT_TRUE(path.starts_with("/")) << path;
  EXPECT_TRUE(path.ends_with("/qv_platform_tests")) << path;
  EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

}  // namespace
}  // namespace qv::platform
