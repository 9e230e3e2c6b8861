// Facts about the machine on Windows, as the system's queries give them under Wine.
#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <cctype>

namespace qv::platform {
namespace {

TEST(SystemInfoTest, TheSystemsAnswersInTheirForms) {
  const std::string signature = CpuSignature();
  ASSERT_EQ(signature.size(), 16u);
  for (const char c : signature) EXPECT_TRUE(std::isxdigit(c) && !std::islower(c)) << signature;
  EXPECT_EQ(MachineBitness(), 64);
  EXPECT_EQ(OperatingSystemName(), "Windows");
  const auto version = RunningWindowsVersion();
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->platform_id, 2u);
  EXPECT_TRUE(version->extended);
  // Without a compatibility declaration in the program no system says more than 6.2 (the
  // prefix's own setting decides which of the earlier ones it is).
  EXPECT_TRUE(version->major == 5 || (version->major == 6 && version->minor <= 2))
      << version->major << "." << version->minor;
}

}  // namespace
}  // namespace qv::platform
