#include "install_steps_machine.h"

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/private_profile.h"

namespace qv::test {

InstallStepsMachineTest::InstallStepsMachineTest() {
  drives_.system_root = SystemRoot();
  drives_.roots = {{SystemRoot(), platform::DriveKind::kFixed},
                   {DriveD(), platform::DriveKind::kFixed}};
  drives_.free_bytes = {{SystemRoot(), 100 * kGiB}, {DriveD(), 100 * kGiB}};
  std::filesystem::create_directories(DriveD());
  context_.machine = {&folders_, &drives_};
}

std::string InstallStepsMachineTest::LocalData() const {
  return platform::LocalAppDataFolder() + OnThisSystem("/Qvorvane/");
}

void InstallStepsMachineTest::WriteLocalFile(std::string_view relative,
                                             std::string_view bytes) const {
  const std::filesystem::path file = FsPath(LocalData() + OnThisSystem(relative));
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << file.string();
}

void InstallStepsMachineTest::RememberDataFolder(std::string_view value) const {
  std::filesystem::create_directories(LocalData());
  ASSERT_TRUE(platform::WritePrivateProfileString("General", "dl_path", value, ConfigIni()));
}

bool InstallStepsMachineTest::HiddenIsKept() const {
  const std::string probe = root_.WriteFile("hidden-probe", "");
  return platform::SetHidden(probe) && platform::GetFileAttributes(probe)->is_hidden;
}

void InstallStepsMachineTest::SetGame(std::string_view game_id, std::string_view game_name) {
  SetText(context_.record.game.game_id, game_id);
  SetText(context_.record.game.game_name, game_name);
}

}  // namespace qv::test
