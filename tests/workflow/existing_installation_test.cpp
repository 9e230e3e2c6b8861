#include "workflow/legacy/existing_installation.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "registry_machine.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"
#include "workflow/registration/uninstall_registration.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

using platform::RegistryRoot;

class ExistingInstallationTest : public test::RegistryMachineTest {
 protected:
  ExistingInstallationTest() { task_.install_folder = util::Utf8ToWide(PlatformFolder()); }

  std::string PlatformFolder() const { return test::LocalAppDataPath("Qvorvane/app/"); }
  // A client installed in root/relative, with the files as the platform archive spells them.
  std::string Install(std::string_view relative) {
    root_.WriteFile(std::string(relative) + "/QVorvane.exe", "client");
    root_.WriteFile(std::string(relative) + "/uninstall.exe", "uninstaller");
    return root_.Path(relative) + "/";
  }
  void Register(RegistryRoot root, const std::string& folder) {
    SetValue(root, kUninstallKey, kInstallLocationValue, folder);
    SetValue(root, kAppPathsKey, "", folder + "QVORVANE.EXE");
  }

  InstallContext task_;
};

TEST_F(ExistingInstallationTest, WhatRegistrationWritesIsRecognisedInAnyLetterCase) {
  const std::string folder = Install("games/QVorvane");
  task_.install_folder = util::Utf8ToWide(folder);
  ASSERT_TRUE(RegisterUninstallEntry(task_));
  RegisterAppPaths(task_);

  InstallContext next_run;
  next_run.install_folder = util::Utf8ToWide(PlatformFolder());
  EXPECT_TRUE(DetectExistingInstallation(next_run));
  EXPECT_EQ(next_run.install_folder, util::Utf8ToWide(folder));
  EXPECT_EQ(next_run.exe_path, util::Utf8ToWide(folder + "QVORVANE.EXE"));
}

TEST_F(ExistingInstallationTest, MachineRootFirstThenTheCurrentUser) {
  const std::string machine = Install("machine-wide");
  const std::string user = Install("per-user");
  Register(RegistryRoot::kCurrentUser, user);
  Register(RegistryRoot::kLocalMachine, machine);
  EXPECT_TRUE(DetectExistingInstallation(task_));
  EXPECT_EQ(task_.install_folder, util::Utf8ToWide(machine));
  EXPECT_EQ(task_.exe_path, util::Utf8ToWide(machine + "QVORVANE.EXE"));
}

TEST_F(ExistingInstallationTest, MachineLocationWithoutAppPathsFallsBackToTheCurrentUser) {
  const std::string machine = Install("machine-wide");
  SetValue(RegistryRoot::kLocalMachine, kUninstallKey, kInstallLocationValue, machine);
  // Nothing per user: false, yet the install folder already holds the machine-wide location.
  EXPECT_FALSE(DetectExistingInstallation(task_));
  EXPECT_EQ(task_.install_folder, util::Utf8ToWide(machine));
  EXPECT_EQ(task_.exe_path, u"");

  const std::string user = Install("per-user");
  Register(RegistryRoot::kCurrentUser, user);
  EXPECT_TRUE(DetectExistingInstallation(task_));
  EXPECT_EQ(task_.install_folder, util::Utf8ToWide(user));
}

TEST_F(ExistingInstallationTest, NothingRegisteredLeavesTheTaskAsItWas) {
  EXPECT_FALSE(DetectExistingInstallation(task_));
  EXPECT_EQ(task_.install_folder, util::Utf8ToWide(PlatformFolder()));
  EXPECT_EQ(task_.exe_path, u"");
}

TEST_F(ExistingInstallationTest, IncompleteInstallationsAreNotRecognised) {
  const struct {
    std::string_view name;
    std::string_view missing_file;
    bool empty_location;
  } cases[] = {
      {"no uninstaller", "uninstall.exe", false},
      {"no client", "QVorvane.exe", false},
      // "uninstall.exe" relative to nothing must not be looked for anywhere.
      {"empty location", "", true},
  };
  for (const auto& c : cases) {
    const std::string folder = Install(c.name);
    if (!c.missing_file.empty()) {
      ASSERT_EQ(std::remove((folder + std::string(c.missing_file)).c_str()), 0);
    }
    Register(RegistryRoot::kCurrentUser, folder);
    if (c.empty_location) {
      SetValue(RegistryRoot::kCurrentUser, kUninstallKey, kInstallLocationValue, "");
    }
    EXPECT_FALSE(DetectExistingInstallation(task_)) << c.name;
  }
}

}  // namespace
}  // namespace qv::workflow
