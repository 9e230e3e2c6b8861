#include "end_to_end_test.h"

#include <algorithm>
#include <filesystem>

#include "qv/deployment_settings.h"
#include "run_space.h"
#include "run_waits.h"

namespace qv::test {

void EndToEndTest::SetUp() {
  std::string why_not;
  if (!EndToEndMachine::InstallerIsLoopbackBuild(why_not)) GTEST_SKIP() << why_not;
  EnterRunSpace(root_, std::filesystem::path(settings::kCaBundle).parent_path().string(),
                process_space_);
}

bool EndToEndTest::WaitForReports(size_t count) {
  return test::WaitForReports(machine_.statistics_log(), count);
}

bool EndToEndTest::WaitForPartialPlatformDownload() {
  return test::WaitForPartialPlatformDownload(root_.temp_dir());
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

  const auto user = CurrentUserHive(root_);
  auto reader = [](const platform::RegistryHive& hive) -> RegistryReader {
    return [&hive](const std::string& key, const std::string& value) {
      return RegistryString(hive, key, value);
    };
  };
  const RegistryReader user_reader = reader(user);
  const RegistryReader classes_root = [user_reader](const std::string& key,
                                                    const std::string& value) {
    return user_reader("Software\\Classes\\" + key, value);
  };
  ExpectPlugin312Records({platform, platform, root_.data_home() + "/Qvorvane/",
                          reader(machine_wide), user_reader, classes_root});
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
