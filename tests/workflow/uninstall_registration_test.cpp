#include "workflow/registration/uninstall_registration.h"

#include <gtest/gtest.h>

#include <cstring>

#include "qv/deployment_settings.h"
#include "registry_machine.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

using platform::RegistryRoot;

class UninstallRegistrationTest : public test::RegistryMachineTest {
 protected:
  UninstallRegistrationTest() {
    std::strcpy(task_.record.version, "3.2.1");
    task_.record.ver = 30201;
    task_.install_folder = util::Utf8ToWide(Folder());
  }
  std::string Folder() const { return test::LocalAppDataPath("Qvorvane/app/"); }

  // Both entries in an installation's order: the uninstall entry, later the App Paths entry.
  bool Register() {
    const bool registered = RegisterUninstallEntry(task_);
    RegisterAppPaths(task_);
    return registered;
  }

  // The uninstall key's section as it lands in the root's file.
  std::string ExpectedEntrySection(std::string_view root_name) const {
    const std::string quoted_uninstaller = "\\\"" + Folder() + "uninstall.exe\\\"";
    const std::string home = settings::kHomeUrl;
    return std::string("[") + std::string(root_name) + "\\" + std::string(kUninstallKey) + "]\n" +
           "\"DisplayIcon\"=\"" + quoted_uninstaller + "\"\n" +
           "\"DisplayName\"=\"QVorvane\"\n"
           "\"DisplayVersion\"=\"3.2.1\"\n"
           "\"Version\"=\"30201\"\n"
           "\"HelpLink\"=\"" + home + "\"\n" +
           "\"Publisher\"=\"TOLVIK Games\"\n"
           "\"InstallLocation\"=\"" + Folder() + "\"\n" +
           "\"UninstallString\"=\"" + quoted_uninstaller + "\"\n" +
           "\"URLInfoAbout\"=\"" + home + "\"\n\n";
  }

  InstallContext task_;
};

TEST_F(UninstallRegistrationTest, AdministratorRegistersUnderTheMachineRootInTableOrder) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRegistryFile;
  administrator_ = true;
  EXPECT_TRUE(Register());
  const std::string machine = FileText(RegistryRoot::kLocalMachine);
  EXPECT_NE(machine.find(ExpectedEntrySection("HKEY_LOCAL_MACHINE")), std::string::npos) << machine;
  EXPECT_EQ(Value(RegistryRoot::kLocalMachine, kAppPathsKey, ""), Folder() + "QVORVANE.EXE");
  EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kAppPathsKey));
  EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kUninstallKey));
}

TEST_F(UninstallRegistrationTest, NormalUserRegistersUnderTheCurrentUserWithTheSamePaths) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRegistryFile;
  EXPECT_TRUE(Register());
  const std::string user = FileText(RegistryRoot::kCurrentUser);
  EXPECT_NE(user.find(ExpectedEntrySection("HKEY_CURRENT_USER")), std::string::npos) << user;
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kAppPathsKey, ""), Folder() + "QVORVANE.EXE");
  EXPECT_EQ(FileText(RegistryRoot::kLocalMachine), "");
}

TEST_F(UninstallRegistrationTest, AppPathsUnderBothRootsWhenOnlyTheUninstallKeyIsRefused) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRegistryFile;
  // The machine root takes the App Paths entry but not the uninstall entry, as on a machine
  // whose administrator locked the uninstall branch.
  rights_ = [this] {
    return KeyExists(RegistryRoot::kCurrentUser, kUninstallKey) &&
           !Value(RegistryRoot::kLocalMachine, kAppPathsKey, "").has_value();
  };
  EXPECT_TRUE(Register());
  EXPECT_EQ(Value(RegistryRoot::kLocalMachine, kAppPathsKey, ""), Folder() + "QVORVANE.EXE");
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kAppPathsKey, ""), Folder() + "QVORVANE.EXE");
  EXPECT_FALSE(KeyExists(RegistryRoot::kLocalMachine, kUninstallKey));
  EXPECT_NE(FileText(RegistryRoot::kCurrentUser).find(ExpectedEntrySection("HKEY_CURRENT_USER")),
            std::string::npos);
}

TEST_F(UninstallRegistrationTest, TheUninstallEntryAloneDoesNotMarkTheClientInstalled) {
  // What a run cut short between the two entries leaves: the next run installs again.
  administrator_ = true;
  EXPECT_TRUE(RegisterUninstallEntry(task_));
  EXPECT_TRUE(KeyExists(RegistryRoot::kLocalMachine, kUninstallKey));
  EXPECT_FALSE(KeyExists(RegistryRoot::kLocalMachine, kAppPathsKey));
  EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kAppPathsKey));
}

TEST_F(UninstallRegistrationTest, NeitherRootWritableIsFalse) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRegistryFile;
  // A file where the per-user registry folder belongs: that store cannot be written, even by root.
  root_.WriteFile("home/.config/qvorvane-registry", "");
  EXPECT_FALSE(Register());
  EXPECT_EQ(FileText(RegistryRoot::kLocalMachine), "");
}

TEST_F(UninstallRegistrationTest, AnOverlongFolderIsNotStoredCutShort) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRights;
  // 498 characters: the client's path (510) fits, the quoted uninstaller's (513) does not.
  const std::string folder = "/" + std::string(496, 'x') + "/";
  task_.install_folder = util::Utf8ToWide(folder);
  EXPECT_TRUE(Register());
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kUninstallKey, "InstallLocation"), folder);
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kUninstallKey, "UninstallString"), std::nullopt);
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kUninstallKey, "DisplayIcon"), std::nullopt);
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kAppPathsKey, ""), folder + "QVORVANE.EXE");
}

}  // namespace
}  // namespace qv::workflow
