#include "plugin312_records.h"

#include <gtest/gtest.h>

#include "installation_readback.h"
#include "registration_keys.h"

namespace qv::test {

void ExpectPlugin312Records(const InstalledPlatform& installed) {
  const std::string& platform = installed.platform_folder;

  // The ini records: the platform's versions and plug-in, the featured game, its game bag.
  const std::string qvorvane_ini = installed.platform_files + "qvorvane.ini";
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "version"), "3.2.1");
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "ver"), "45");
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "air_ver"), "27");
  EXPECT_EQ(IniValue(qvorvane_ini, "General", "u_air_state"), "3");
  const std::string& data = installed.data_files;
  EXPECT_EQ(IniValue(data + "gamebag/games.ini", "General", "game_ids"), "312");
  EXPECT_EQ(IniValue(data + "gamebag/games.ini", "General", "312"), "Tides of Valoria III");
  EXPECT_EQ(IniValue(data + "gamebag/312/cfg.ini", "main", "ver"), "2");
  EXPECT_EQ(IniValue(data + "config.ini", "General", "game_from"), "312");

  const RegistryReader& machine_wide = installed.machine_wide;
  EXPECT_EQ(machine_wide(kUninstallKey, "DisplayName"), "QVorvane");
  EXPECT_EQ(machine_wide(kUninstallKey, "Publisher"), "TOLVIK Games");
  EXPECT_EQ(machine_wide(kUninstallKey, "DisplayVersion"), "3.2.1");
  EXPECT_EQ(machine_wide(kUninstallKey, "Version"), "45");
  EXPECT_EQ(machine_wide(kUninstallKey, "InstallLocation"), platform);
  EXPECT_EQ(machine_wide(kUninstallKey, "UninstallString"), "\"" + platform + "uninstall.exe\"");
  EXPECT_EQ(machine_wide(kAppPathsKey, ""), platform + "QVORVANE.EXE");

  const RegistryReader& user = installed.current_user;
  EXPECT_EQ(user(kRunKey, "qvorvane"), "\"" + platform + "qvorvane.exe\"   /auto_start=1 ");
  const RegistryReader& classes = installed.classes_root;
  EXPECT_EQ(classes("QVorvane", ""), "QVorvane protocol");
  EXPECT_EQ(classes("QVorvane\\shell\\open\\command", ""),
            "\"" + platform + "QVorvane.exe\"  \"%1\"");

  const auto launches = ReadLaunchRecords(installed.platform_files + "launch.txt");
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].working_folder + platform.back(), platform);
  EXPECT_EQ(launches[0].arguments, kPlugin312Launch);
}

void ExpectPlugin312StartedTwice(const std::string& launch_record) {
  const auto launches = ReadLaunchRecords(launch_record);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1].arguments, kPlugin312Launch);
  EXPECT_EQ(launches[1].working_folder, launches[0].working_folder);
}

}  // namespace qv::test
