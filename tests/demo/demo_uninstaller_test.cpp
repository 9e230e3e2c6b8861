// The demo platform's uninstall.exe, taken from the platform archive the service hands out and
// run as a real process over an installation laid out where the installer puts it: it removes
// the platform's files, shortcuts and registry entries, and nothing of the user's or the
// installer's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "demo_service_process.h"
#include "platform_registrations.h"
#include "run_command.h"
#include "temp_root.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

TEST(DemoUninstallerTest, RemovesThePlatformAndLeavesEverythingElse) {
  TempRoot root;
  const std::string local = root.data_home() + "/Qvorvane/";
  const std::string platform_folder = local + "app/";
  const std::string data_folder = root.home() + "/QVorvane/";
  const std::string desktop = root.home() + "/Desktop/";
  const std::string archive =
      DemoContentFolder() + "/qvorvane/repository/install/QVorvaneSetup_3.2.1.45.zip";
  fs::create_directories(platform_folder);
  ASSERT_EQ(RunCommand({"unzip", "-q", archive, "-d", platform_folder}).exit_code, 0);

  const std::vector<std::string> removed_files = {
      local + "plugin/air/air_runtime.cfg",
      local + "gamebag/312/icon.png",
      local + "gamebag/games.ini",
      data_folder + "download/app/list.dat",
      data_folder + "install/plugin/1045/info.ini",
      desktop + "QVorvane.lnk",
      desktop + ".QVorvane.lnk.lock",
      desktop + "Tides of Valoria III.lnk",
      root.data_home() + "/applications/Programs/QVorvane/QVorvane.lnk"};
  for (const std::string& file : removed_files)
    root.WriteFile(file.substr(root.path().size() + 1), "x");
  root.WriteFile(local.substr(root.path().size() + 1) + "gamebag/games.ini",
                 "[General]\ngame_ids=312\n312=Tides of Valoria III\n");
  const std::vector<std::string> kept_files = {local + "config.ini", data_folder + "my-notes.txt",
                                               desktop + "Other program.lnk"};
  for (const std::string& file : kept_files)
    root.WriteFile(file.substr(root.path().size() + 1), "x");
  root.WriteFile(local.substr(root.path().size() + 1) + "config.ini",
                 "[General]\nclient_id=abc\ndl_path=" + data_folder + "\n");

  RegisterPlatformInstallation(platform_folder);

  const CommandResult run = RunCommand({platform_folder + "uninstall.exe"}, root.home());
  ASSERT_EQ(run.exit_code, 0) << run.output;

  EXPECT_FALSE(fs::exists(platform_folder)) << run.output;
  EXPECT_FALSE(fs::exists(local + "plugin/air"));
  EXPECT_FALSE(fs::exists(local + "gamebag"));
  EXPECT_FALSE(fs::exists(root.data_home() + "/applications/Programs/QVorvane"));
  for (const std::string& file : removed_files) EXPECT_FALSE(fs::exists(file)) << file;
  for (const std::string& file : kept_files) EXPECT_TRUE(fs::exists(file)) << file;
  ExpectOnlyPlatformRegistrationsRemoved();
  EXPECT_NE(run.output.find("HKEY_CLASSES_ROOT\\QVorvane"), std::string::npos) << run.output;

  // A copy run from another folder finds nothing left, and keeps the folder it was run from.
  ASSERT_EQ(RunCommand({"unzip", "-q", archive, "-d", root.Path("downloads")}).exit_code, 0);
  root.WriteFile("downloads/holiday.jpg", "x");
  const CommandResult again = RunCommand({root.Path("downloads/uninstall.exe")}, root.home());
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_EQ(again.output, "QVorvane removed: nothing was installed\n");
  EXPECT_TRUE(fs::exists(root.Path("downloads/holiday.jpg")));
  EXPECT_TRUE(fs::exists(local + "config.ini"));
}

}  // namespace
}  // namespace qv::test
