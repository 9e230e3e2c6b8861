// The demo platform's uninstall.exe, taken from the platform archive the service hands out and
// run as a real process over an installation laid out where the installer puts it: it removes
// the platform's files, shortcuts and registry entries, and nothing of the user's or the
// installer's own.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_service_process.h"
#include "platform_registrations.h"
#include "run_command.h"
#include "temp_root.h"
#include "util/app_folders.h"
#include "workflow/registration/desktop_entries.h"

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

TEST(DemoUninstallerTest, RemovesEveryDesktopEntryTheInstallationRecorded) {
  TempRoot root;
  const std::string local = root.data_home() + "/Qvorvane/";
  const std::string platform_folder = local + "app/";
  const std::string archive =
      DemoContentFolder() + "/qvorvane/repository/install/QVorvaneSetup_3.2.1.45.zip";
  fs::create_directories(platform_folder);
  ASSERT_EQ(RunCommand({"unzip", "-q", archive, "-d", platform_folder}).exit_code, 0);
  root.WriteFile("home/.config/mimeapps.list",
                 "[Default Applications]\ntext/html=firefox.desktop;\n");
  root.WriteFile("home/Desktop/Other program.desktop", "[Desktop Entry]\n");
  root.WriteFile("home/.local/share/applications/other.desktop", "[Desktop Entry]\n");
  // The featured game's bag as the service hands it out, with the picture its icon is made of.
  fs::create_directories(local + "gamebag/312");
  ASSERT_EQ(RunCommand({"unzip", "-q", DemoContentFolder() + "/qvorvane/repository/gamebag/tov3_bag_2.zip",
                        "-d", local + "gamebag/312"})
                .exit_code,
            0);

  util::AppFolders folders;
  workflow::InstallContext context;
  std::strcpy(context.record.game.game_id, "312");
  std::strcpy(context.record.game.game_name, "Tides of Valoria III");
  context.machine.folders = &folders;
  context.install_folder = folders.PlatformFolder();
  workflow::RegisterDesktopEntries(context, true, {});
  const std::vector<std::string> made = workflow::RecordedDesktopFiles(folders.LocalDataFolder());
  // Menu entry, link handler, two launchers, autostart entry and the game's icon.
  ASSERT_GE(made.size(), 6u);
  // A record edited to name a file of the user's is no reason to remove that file.
  const std::string record = local + "desktop-files.txt";
  root.WriteFile(record.substr(root.path().size() + 1),
                 ReadFileBytes(record).value_or("") + root.home() + "/.bashrc\n");
  root.WriteFile("home/.bashrc", "x");

  const CommandResult run = RunCommand({platform_folder + "uninstall.exe"}, root.home());
  ASSERT_EQ(run.exit_code, 0) << run.output;

  for (const std::string& file : made) {
    EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_NE(run.output.find(file), std::string::npos) << run.output;
  }
  EXPECT_FALSE(fs::exists(record));
  EXPECT_TRUE(fs::exists(root.home() + "/.bashrc"));
  EXPECT_TRUE(fs::exists(root.home() + "/Desktop/Other program.desktop"));
  EXPECT_TRUE(fs::exists(root.data_home() + "/applications/other.desktop"));
  EXPECT_EQ(ReadFileBytes(root.config_home() + "/mimeapps.list"),
            "[Default Applications]\ntext/html=firefox.desktop;\n");
}

}  // namespace
}  // namespace qv::test
