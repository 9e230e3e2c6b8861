// The machine and the game record the app-list tests share: a chosen data folder with the
// list's place, and the item the game gets when it is new.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "install_steps_machine.h"
#include "temp_root.h"

namespace qv::workflow {

class AppListTest : public test::InstallStepsMachineTest {
 protected:
  AppListTest() {
    SetGame("1001", "Game & \"Co\"");
    SetText(context_.record.md5, "0123456789abcdef0123456789abcdef");
    SetText(context_.record.url_air, "https://cdn.example/p/1001.zip?a=1&b=2");
    SetText(context_.record.game_ver, "1.0.2");
    context_.record.g_type = 2;
    context_.record.ver_air = 17;
  }
  std::string ListPath() const { return ChosenDataFolder() + "download/app/list.dat"; }
  std::string WriteList(std::string_view bytes) const {
    std::filesystem::create_directories(ChosenDataFolder() + "download/app");
    return root_.WriteFile(std::filesystem::relative(ListPath(), root_.path()).string(), bytes);
  }
  static constexpr char kLocalPath[] = "/data/QVorvane/download/app/1001_1.0.2_17.dat";
  // The item this game gets when it is new.
  static std::string NewItem() {
    return "\t<item game_id=\"1001\" game_name=\"Game &amp; &quot;Co&quot;\" "
           "md5=\"0123456789abcdef0123456789abcdef\" saved_bytes=\"0\" total_bytes=\"0\" "
           "net_path=\"https://cdn.example/p/1001.zip?a=1&amp;b=2\" "
           "local_path=\"/data/QVorvane/download/app/1001_1.0.2_17.dat\" game_type=\"2\" "
           "state=\"9\" version=\"1.0.2\" ver_code=\"17\" />\n";
  }
};

}  // namespace qv::workflow
