#include "end_to_end_test.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "own_folder.h"
#include "own_network.h"
#include "qv/deployment_settings.h"

namespace qv::test {

void EndToEndTest::SetUp() {
  std::string why_not;
  if (!EndToEndMachine::InstallerIsLoopbackBuild(why_not)) GTEST_SKIP() << why_not;
  if (!EnterOwnLoopbackNetwork(why_not)) GTEST_SKIP() << why_not;
  // The service makes its certificates where the installer looks for its CA; this run's own go
  // into its temporary root, and a demo running beside it keeps its own.
  const std::string pki = std::filesystem::path(settings::kCaBundle).parent_path().string();
  ASSERT_TRUE(EnterOwnViewOfFolder(pki, root_.Path("service/pki"), why_not)) << why_not;
  // Every process the run starts sees only the run's own; none outlives the test.
  ASSERT_TRUE(process_space_.Enter(why_not)) << why_not;
}

bool EndToEndTest::WaitForReports(size_t count) {
  for (int i = 0; i < 1200; ++i) {
    if (ReadStatisticsReports(machine_.statistics_log()).size() >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

bool EndToEndTest::WaitForPartialPlatformDownload() {
  for (int i = 0; i < 1200; ++i) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root_.temp_dir(), error)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("qvordl_") && name.ends_with(".part") && entry.file_size(error) > 0) {
        return true;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}


void EndToEndTest::ExpectPlugin312Installed(const platform::RegistryHive& machine_wide) {
  const std::string platform = machine_.PlatformFolder();
  const std::string relative_platform = "home/.local/share/Qvorvane/app/";
  const auto files = FilesBelow(root_);
  for (const std::string& file :
       {relative_platform + "QVorvane.exe", relative_platform + "uninstall.exe",
        relative_platform + "launch.txt", std::string("home/Desktop/QVorvane.lnk"),
        std::string("home/Desktop/Tides of Valoria III.lnk"),
        std::string("home/.local/share/applications/Programs/QVorvane/QVorvane.lnk"),
        std::string("home/.local/share/Qvorvane/gamebag/312/icon.ico")}) {
    EXPECT_NE(std::find(files.begin(), files.end(), file), files.end()) << file;
  }

  // The ini records: the platform's versions and plug-in, the featured game, its game bag.
  const std::string qvorvane_ini = platform + "qvorvane.ini";
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "version"), "3.2.1");
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "ver"), "45");
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "air_ver"), "27");
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "u_air_state"), "3");
  const std::string data = root_.data_home() + "/Qvorvane/";
  EXPECT_EQ(IniValue(data + "gamebag/games.ini", "General", "game_ids"), "312");
  EXPECT_EQ(IniValue(data + "gamebag/games.ini", "General", "312"), "Tides of Valoria III");
  EXPECT_EQ(IniValue(data + "gamebag/312/cfg.ini", "main", "ver"), "2");
  EXPECT_EQ(IniValue(data + "config.ini", "General", "game_from"), "312");

  EXPECT_EQ(RegistryString(machine_wide, kUninstallKey, "DisplayName"), "QVorvane");
  EXPECT_EQ(RegistryString(machine_wide, kUninstallKey, "Publisher"), "TOLVIK Games");
  EXPECT_EQ(RegistryString(machine_wide, kUninstallKey, "DisplayVersion"), "3.2.1");
  EXPECT_EQ(RegistryString(machine_wide, kUninstallKey, "Version"), "45");
  EXPECT_EQ(RegistryString(machine_wide, kUninstallKey, "InstallLocation"), platform);
  EXPECT_EQ(RegistryString(machine_wide, kUninstallKey, "UninstallString"),
            "\"" + platform + "uninstall.exe\"");
  EXPECT_EQ(RegistryString(machine_wide, kAppPathsKey, ""), platform + "QVORVANE.EXE");

  const auto user = CurrentUserHive(root_);
  EXPECT_EQ(RegistryString(user, kRunKey, "qvorvane"),
            "\"" + platform + "qvorvane.exe\"   /auto_start=1 ");
  EXPECT_EQ(RegistryString(user, "Software\\Classes\\QVorvane", ""), "QVorvane protocol");
  EXPECT_EQ(RegistryString(user, "Software\\Classes\\QVorvane\\shell\\open\\command", ""),
            "\"" + platform + "QVorvane.exe\"  \"%1\"");

  const auto launches = ReadLaunchRecords(LaunchRecordPath());
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].working_folder + "/", platform);
  EXPECT_EQ(launches[0].arguments, kPlugin312Launch);
}

void EndToEndTest::ExpectNothingInstalled() {
  for (const std::string& file : FilesBelow(root_)) {
    EXPECT_FALSE(file.starts_with("home/.local/share/Qvorvane/app/")) << file;
  }
  EXPECT_EQ(LocalMachineHive(root_).keys().size(), 0u);
  const auto user = CurrentUserHive(root_);
  for (const char* key :
       {kUninstallKey, kAppPathsKey, kRunKey, "Software\\Classes\\QVorvane"}) {
    EXPECT_EQ(user.FindKey(key), nullptr) << key;
  }
}

}  // namespace qv::test
