#include "workflow/registration/desktop_entries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "png_fixtures.h"
#include "run_command.h"
#include "temp_root.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

// The names below `folder` (recursively, relative, sorted), without the record writer's hidden
// side files.
std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    // mimeinfo.cache is the desktop database's own, refreshed after our entries are written.
    if (entry.is_regular_file() && name.front() != '.' && name != "mimeinfo.cache") {
      names.push_back(fs::relative(entry.path(), folder).string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

class DesktopEntriesTest : public test::TempRootTest {
 protected:
  DesktopEntriesTest() {
    fs::create_directories(Desktop());
    root_.WriteFile("home/.local/share/Qvorvane/app/QVorvane.exe", "client");
    root_.WriteFile("home/.local/share/Qvorvane/app/uninstall.exe", "uninstaller");
    const auto gradient = [](uint32_t, uint32_t) { return 255; };
    large_icon_ = test::EncodePng(test::GradientPicture(256, 256, gradient));
    small_icon_ = test::EncodePng(test::GradientPicture(16, 16, gradient));
    root_.WriteFile("home/.local/share/Qvorvane/gamebag/1001/icon.png",
                    test::EncodePng(test::GradientPicture(100, 100, gradient)));
  }

  std::string Desktop() const { return root_.Path("home/Desktop"); }
  std::string Applications() const { return root_.Path("home/.local/share/applications"); }
  std::string Autostart() const { return root_.Path("home/.config/autostart"); }
  std::string Icons() const { return root_.Path("home/.local/share/icons/hicolor"); }
  std::string PlatformFolder() const { return root_.Path("home/.local/share/Qvorvane/app"); }
  std::string MimeApps() const { return root_.Path("home/.config/mimeapps.list"); }
  std::string Read(const std::string& path) const { return test::ReadFileBytes(path).value_or(""); }

  void Register(bool start_at_log_on, const char* game_name = "Tales of Rise") {
    InstallContext context;
    std::strncpy(context.record.game.game_id, "1001", sizeof context.record.game.game_id - 1);
    std::strncpy(context.record.game.game_name, game_name,
                 sizeof context.record.game.game_name - 1);
    context.machine.folders = &folders_;
    context.install_folder = folders_.PlatformFolder();
    const auto bytes = [](const std::string& s) {
      return std::span(reinterpret_cast<const unsigned char*>(s.data()), s.size());
    };
    RegisterDesktopEntries(context, start_at_log_on, {bytes(large_icon_), bytes(small_icon_)});
  }

  // Every file made, by folder.
  std::vector<std::string> AllMade() const {
    std::vector<std::string> all;
    for (const std::string& folder : {Applications(), Autostart(), Desktop(), Icons()}) {
      for (const std::string& name : FilesBelow(folder)) all.push_back(folder + "/" + name);
    }
    std::sort(all.begin(), all.end());
    return all;
  }

  std::vector<std::string> Recorded() {
    std::vector<std::string> paths = RecordedDesktopFiles(folders_.LocalDataFolder());
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  util::AppFolders folders_;
  std::string large_icon_;
  std::string small_icon_;
};

TEST_F(DesktopEntriesTest, EveryEntryIsMadeValidAndRecorded) {
  root_.WriteFile("home/Desktop/QVorvane.lnk", "the shell link stays");
  Register(true);

  EXPECT_EQ(FilesBelow(Applications()), (std::vector<std::string>{
                                            "com.qvorvane.Client.desktop",
                                            "com.qvorvane.ClientLink.desktop"}));
  EXPECT_EQ(FilesBelow(Desktop()), (std::vector<std::string>{
                                       "QVorvane.desktop", "QVorvane.lnk", "Tales of Rise.desktop"}));
  EXPECT_EQ(Read(Desktop() + "/QVorvane.lnk"), "the shell link stays");
  EXPECT_EQ(FilesBelow(Autostart()), (std::vector<std::string>{"com.qvorvane.Client.desktop"}));
  EXPECT_EQ(FilesBelow(Icons()), (std::vector<std::string>{
                                     "16x16/apps/com.qvorvane.Client.png",
                                     "256x256/apps/com.qvorvane.Client.png",
                                     "48x48/apps/com.qvorvane.Client.png",
                                     "48x48/apps/com.qvorvane.Game-1001.png",
                                     "64x64/apps/com.qvorvane.Game-1001.png"}));

  const std::string client = PlatformFolder() + "/QVorvane.exe";
  const std::string menu = Read(Applications() + "/com.qvorvane.Client.desktop");
  EXPECT_TRUE(HasLine(menu, "Exec=" + client)) << menu;
  EXPECT_TRUE(HasLine(menu, "Path=" + PlatformFolder())) << menu;
  EXPECT_TRUE(HasLine(menu, "Icon=com.qvorvane.Client")) << menu;
  EXPECT_TRUE(HasLine(menu, "Categories=Game;")) << menu;
  EXPECT_TRUE(HasLine(menu, "[Desktop Action Uninstall]")) << menu;
  EXPECT_TRUE(HasLine(menu, "Exec=" + PlatformFolder() + "/uninstall.exe")) << menu;
  const std::string handler = Read(Applications() + "/com.qvorvane.ClientLink.desktop");
  EXPECT_TRUE(HasLine(handler, "Exec=" + client + " %u")) << handler;
  EXPECT_TRUE(HasLine(handler, "MimeType=x-scheme-handler/qvorvane;")) << handler;
  const std::string game = Read(Desktop() + "/Tales of Rise.desktop");
  EXPECT_TRUE(HasLine(game, "Name=Tales of Rise")) << game;
  EXPECT_TRUE(HasLine(game, "Exec=" + client)) << game;
  EXPECT_TRUE(HasLine(game, "Icon=com.qvorvane.Game-1001")) << game;
  const std::string autostart = Read(Autostart() + "/com.qvorvane.Client.desktop");
  EXPECT_TRUE(HasLine(autostart, "Exec=" + client + " /auto_start=1")) << autostart;

  for (const std::string& path : AllMade()) {
    if (!path.ends_with(".desktop")) continue;
    const test::CommandResult validation = test::RunCommand({"desktop-file-validate", path});
    EXPECT_EQ(validation.exit_code, 0) << path << "\n" << validation.output;
  }
  for (const char* launcher : {"/QVorvane.desktop", "/Tales of Rise.desktop"}) {
    EXPECT_EQ(fs::status(Desktop() + launcher).permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec)
        << launcher;
  }

  std::vector<std::string> made = AllMade();
  std::erase(made, Desktop() + "/QVorvane.lnk");
  EXPECT_EQ(Recorded(), made);

  EXPECT_TRUE(HasLine(Read(Applications() + "/mimeinfo.cache"),
                      "x-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;"))
      << "the desktop database is refreshed";
  const test::CommandResult query =
      test::RunCommand({"xdg-mime", "query", "default", "x-scheme-handler/qvorvane"});
  EXPECT_EQ(query.output, "com.qvorvane.ClientLink.desktop\n");
}

TEST_F(DesktopEntriesTest, ASecondRunLeavesOneOfEachAndKeepsTheUsersAssociations) {
  root_.WriteFile("home/.config/mimeapps.list",
                  "[Default Applications]\ntext/html=firefox.desktop;\n"
                  "x-scheme-handler/qvorvane=old.desktop;\n\n[Added Associations]\nimage/png=eog.desktop;\n");
  Register(true);
  const std::vector<std::string> first = AllMade();
  const std::string first_menu = Read(Applications() + "/com.qvorvane.Client.desktop");
  Register(true);

  EXPECT_EQ(AllMade(), first);
  EXPECT_EQ(Read(Applications() + "/com.qvorvane.Client.desktop"), first_menu);
  EXPECT_EQ(Read(MimeApps()),
            "[Default Applications]\ntext/html=firefox.desktop;\n"
            "x-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n\n"
            "[Added Associations]\nimage/png=eog.desktop;\n");
  EXPECT_EQ(Recorded(), first);

  RemoveLinkHandlerDefault();
  EXPECT_EQ(Read(MimeApps()),
            "[Default Applications]\ntext/html=firefox.desktop;\n\n"
            "[Added Associations]\nimage/png=eog.desktop;\n");
}

TEST_F(DesktopEntriesTest, StartAtLogOnFollowsTheStartUpRule) {
  Register(false);
  EXPECT_EQ(FilesBelow(Autostart()), std::vector<std::string>{});

  Register(true);
  EXPECT_EQ(FilesBelow(Autostart()), (std::vector<std::string>{"com.qvorvane.Client.desktop"}));

  // Switched off since: the entry of the earlier run goes, and the record no longer names it.
  Register(false);
  EXPECT_EQ(FilesBelow(Autostart()), std::vector<std::string>{});
  const std::vector<std::string> recorded = Recorded();
  EXPECT_EQ(std::count(recorded.begin(), recorded.end(),
                       Autostart() + "/com.qvorvane.Client.desktop"),
            0);
}

TEST_F(DesktopEntriesTest, EntriesNameTheClientAsItIsSpelledOnDisk) {
  fs::rename(PlatformFolder() + "/QVorvane.exe", PlatformFolder() + "/qvorVANE.EXE");
  Register(true);
  const std::string menu = Read(Applications() + "/com.qvorvane.Client.desktop");
  EXPECT_TRUE(HasLine(menu, "Exec=" + PlatformFolder() + "/qvorVANE.EXE")) << menu;
}

TEST_F(DesktopEntriesTest, AnEarlierGamesLauncherStaysRecordedForTheUninstaller) {
  Register(true, "First Game");
  Register(true, "Second Game");
  const std::vector<std::string> recorded = Recorded();
  for (const char* launcher : {"/First Game.desktop", "/Second Game.desktop"}) {
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), Desktop() + launcher), 1) << launcher;
  }
}

TEST_F(DesktopEntriesTest, TheRecordNamesNothingOutsideTheEntriesFolders) {
  root_.WriteFile("home/Desktop/Game.desktop", "[Desktop Entry]\nX-QVorvane-Launcher=true\n");
  root_.WriteFile("home/Desktop/Mine.desktop", "[Desktop Entry]\nName=Mine\n");
  root_.WriteFile("home/.local/share/Qvorvane/desktop-files.txt",
                  root_.Path("home/.bashrc") + "\n" + Applications() + "/../mimeapps.list\n" +
                      Applications() + "/firefox.desktop\n" + Desktop() + "/../x.desktop\n" +
                      Icons() + "/48x48/apps/other.png\n" + Autostart() + "/other.desktop\n" +
                      Desktop() + "/Mine.desktop\n" + Desktop() + "/Game.desktop\n");
  EXPECT_EQ(RecordedDesktopFiles(folders_.LocalDataFolder()), std::vector<std::string>{Desktop() + "/Game.desktop"});
}

}  // namespace
}  // namespace qv::workflow
