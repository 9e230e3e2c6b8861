#include "platform/system_info.h"

#include <gtest/gtest.h>

#include "temp_root.h"

namespace qv::platform {
namespace {

class SystemInfoTest : public test::TempRootTest {
 protected:
  void AddInterface(const std::string& name, const std::string& type, const std::string& index,
                    const std::string& address) {
    root_.WriteFile("net/" + name + "/type", type + "\n");
    root_.WriteFile("net/" + name + "/ifindex", index + "\n");
    root_.WriteFile("net/" + name + "/address", address + "\n");
  }
};

TEST_F(SystemInfoTest, CpuSignatureIsSixteenUpperCaseHexDigitsAndStable) {
  const std::string signature = CpuSignature();
  ASSERT_EQ(signature.size(), 16u);
  EXPECT_EQ(signature.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(CpuSignature(), signature);
}

TEST_F(SystemInfoTest, FirstEthernetInterfaceInIndexOrderIsChosen) {
  AddInterface("lo", "772", "1", "00:00:00:00:00:00");
  AddInterface("wlan0", "1", "3", "aa:bb:cc:dd:ee:ff");
  AddInterface("eth0", "1", "2", "02:1a:2b:3c:4d:5e");
  AddInterface("broken", "1", "0", "not an address");
  AddInterface("ib0", "32", "0", "00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00");
  const std::optional<MacAddress> address = FirstEthernetAddress(root_.Path("net"));
  ASSERT_TRUE(address.has_value());
  EXPECT_EQ(FormatMacAddress(*address), "02:1A:2B:3C:4D:5E");
}

TEST_F(SystemInfoTest, NoEthernetInterfaceGivesNothing) {
  AddInterface("lo", "772", "1", "00:00:00:00:00:00");
  EXPECT_FALSE(FirstEthernetAddress(root_.Path("net")).has_value());
  EXPECT_FALSE(FirstEthernetAddress(root_.Path("missing")).has_value());
}

TEST_F(SystemInfoTest, BitnessAndSystemName) {
  // A 64-bit program runs only on a 64-bit machine; a 32-bit one may run on either.
  if (sizeof(void*) == 8) {
    EXPECT_EQ(MachineBitness(), 64);
  } else {
    EXPECT_TRUE(MachineBitness() == 32 || MachineBitness() == 64);
  }
  EXPECT_EQ(OperatingSystemName(), "Linux");
}

}  // namespace
}  // namespace qv::platform
