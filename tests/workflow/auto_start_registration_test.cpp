#include "workflow/registration/auto_start_registration.h"

#include <gtest/gtest.h>

#include "platform/private_profile.h"
#include "registry_machine.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

using platform::RegistryRoot;

TEST(AutoStartupIsOnTest, OnlyTheNumberZeroSwitchesStartUpOff) {
  const struct {
    std::string_view text;
    bool on;
  } cases[] = {
      {"1", true},     {"0", false},
      {" 0", false},   {"00", false},
      {"-0", false},   {"+0", false},
      {"0abc", false}, {"2", true},
      {"10", true},    {"-1", true},
      {"abc", true},   {"", true},
      {"+", true},     {"000000000000001", true},
  };
  for (const auto& c : cases) EXPECT_EQ(AutoStartupIsOn(c.text), c.on) << '"' << c.text << '"';
}

class AutoStartRegistrationTest : public test::RegistryMachineTest {
 protected:
  std::string ConfigIni() { return util::WideToUtf8(folders_.RoamingDataFolder()) + "config.ini"; }
  util::AppFolders folders_;
};

TEST_F(AutoStartRegistrationTest, WritesTheQuotedClientAndTheArgumentsWhenNotSwitchedOff) {
  // A missing file, then a file without the key, then "1".
  for (int step = 0; step < 3; ++step) {
    if (step == 1) {
      ASSERT_TRUE(platform::WritePrivateProfileString("General", "other", "0", ConfigIni()));
    }
    if (step == 2) {
      ASSERT_TRUE(platform::WritePrivateProfileString("General", "auto_startup", "1", ConfigIni()));
    }
    EXPECT_TRUE(RegisterAutoStart(util::kClientAutoStartArgument, folders_));
    EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kRunKey, "qvorvane"),
              "\"" + test::LocalAppDataPath("Qvorvane/app/qvorvane.exe") + "\"   /auto_start=1 ");
  }
}

TEST_F(AutoStartRegistrationTest, SwitchedOffLeavesTheRunKeyUntouched) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRegistryFile;
  SetValue(RegistryRoot::kCurrentUser, kRunKey, "other", "\"/opt/other\"");
  const std::string before = FileText(RegistryRoot::kCurrentUser);
  ASSERT_TRUE(platform::WritePrivateProfileString("general", "AUTO_STARTUP", "0", ConfigIni()));
  EXPECT_FALSE(RegisterAutoStart(util::kClientAutoStartArgument, folders_));
  EXPECT_EQ(FileText(RegistryRoot::kCurrentUser), before);
}

TEST_F(AutoStartRegistrationTest, ARunKeyThatCannotBeOpenedStillCountsAsRegistered) {
  root_.WriteFile("home/.config/qvorvane-registry", "");
  EXPECT_TRUE(RegisterAutoStart(util::kClientAutoStartArgument, folders_));
}

}  // namespace
}  // namespace qv::workflow
