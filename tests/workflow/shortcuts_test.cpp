#include "workflow/shortcuts/shortcuts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "lnk_reader.h"
#include "png_fixtures.h"
#include "temp_root.h"
#include "util/text_conversion.h"
#include "workflow/shortcuts/b_icon.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;


class ShortcutsTest : public test::TempRootTest {
 protected:
  ShortcutsTest() { fs::create_directories(Desktop()); }

  std::string Desktop() { return root_.Path("home/Desktop"); }
  std::string StartMenu() { return root_.Path("home/.local/share/applications/Programs/QVorvane"); }
  std::string PlatformFolder() { return root_.Path("home/.local/share/Qvorvane/app/"); }
  std::string GameBag() { return root_.Path("home/.local/share/Qvorvane/gamebag/"); }
  std::vector<std::string> DesktopShortcuts() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Desktop())) {
      const std::string name = entry.path().filename().string();
      if (name.front() != '.') names.push_back(name);  // not the writer's lock files
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void ExpectPlatformShortcut(const std::string& path) {
    SCOPED_TRACE(path);
    const std::string report = test::LnkInfo(path);
    EXPECT_EQ(test::LnkInfoField(report, "Local path"), PlatformFolder() + "QVorvane.exe");
    EXPECT_EQ(test::LnkInfoField(report, "Working directory"), PlatformFolder());
    EXPECT_EQ(test::LnkInfoField(report, "Description"), "QVorvane");
    EXPECT_EQ(test::LnkInfoField(report, "Icon location"), std::nullopt);
    EXPECT_EQ(test::LnkInfoField(report, "Command line arguments"), std::nullopt);
    EXPECT_EQ(test::ShowCommandOf(path), 1u);
  }

  InstallContext ContextFor(const char* game_id, const char* game_name) {
    InstallContext context;
    std::strncpy(context.record.game.game_id, game_id, sizeof context.record.game.game_id - 1);
    std::strncpy(context.record.game.game_name, game_name,
                 sizeof context.record.game.game_name - 1);
    context.machine.folders = &folders_;
    return context;
  }

  util::AppFolders folders_;
};

TEST_F(ShortcutsTest, GameAndPlatformShortcutsAndTheGameList) {
  const RgbaImage picture =
      test::GradientPicture(48, 48, [](uint32_t x, uint32_t y) { return x == y ? 0 : 255; });
  root_.WriteFile("home/.local/share/Qvorvane/gamebag/1001/icon.png", test::EncodePng(picture));
  root_.WriteFile("home/Desktop/QVorvane.lnk", "an old shortcut");

  CreateShortcuts(ContextFor("1001", "Tales of Rise"));

  EXPECT_EQ(DesktopShortcuts(), (std::vector<std::string>{"QVorvane.lnk", "Tales of Rise.lnk"}));
  ExpectPlatformShortcut(Desktop() + "/QVorvane.lnk");
  ExpectPlatformShortcut(StartMenu() + "/QVorvane.lnk");

  const std::string game_link = Desktop() + "/Tales of Rise.lnk";
  const std::string report = test::LnkInfo(game_link);
  EXPECT_EQ(test::LnkInfoField(report, "Local path"), PlatformFolder() + "QVorvane.exe");
  EXPECT_EQ(test::LnkInfoField(report, "Working directory"),
            root_.Path("home/.local/share/Qvorvane/app"));
  EXPECT_EQ(test::LnkInfoField(report, "Icon location"), GameBag() + "1001/icon.ico");
  EXPECT_EQ(test::LnkInfoField(report, "Description"), std::nullopt);
  EXPECT_EQ(test::ShowCommandOf(game_link), 5u);

  CBIcon icon;
  ASSERT_TRUE(icon.LoadFromIconHandle(MakeIconHandle(picture)));
  EXPECT_EQ(test::ReadFileBytes(GameBag() + "1001/icon.ico"), icon.FileBytes());
  EXPECT_EQ(test::ReadFileBytes(GameBag() + "games.ini"),
            "[General]\ngame_ids=1001\n1001=Tales of Rise\n");
}

TEST_F(ShortcutsTest, SecondRunReplacesShortcutsAndKeepsBothGamesListed) {
  CreateShortcuts(ContextFor("1001", "Tales of Rise"));
  root_.WriteFile("home/Desktop/QVorvane.lnk", "damaged");
  CreateShortcuts(ContextFor("1002", "Tales of Dawn"));

  EXPECT_EQ(DesktopShortcuts(),
            (std::vector<std::string>{"QVorvane.lnk", "Tales of Dawn.lnk", "Tales of Rise.lnk"}));
  ExpectPlatformShortcut(Desktop() + "/QVorvane.lnk");
  ExpectPlatformShortcut(StartMenu() + "/QVorvane.lnk");
  // No picture in the game bag: the game shortcut has no icon of its own.
  EXPECT_EQ(test::LnkInfoField(test::LnkInfo(Desktop() + "/Tales of Dawn.lnk"), "Icon location"),
            std::nullopt);
  EXPECT_EQ(test::ReadFileBytes(GameBag() + "games.ini"),
            "[General]\ngame_ids=1002\n1001=Tales of Rise\n1002=Tales of Dawn\n");
}

TEST_F(ShortcutsTest, WithoutGameOnlyThePlatformShortcuts) {
  CreateShortcuts(ContextFor("", "Tales of Rise"));
  EXPECT_EQ(DesktopShortcuts(), std::vector<std::string>{"QVorvane.lnk"});
  ExpectPlatformShortcut(StartMenu() + "/QVorvane.lnk");
  EXPECT_FALSE(fs::exists(GameBag() + "games.ini"));
}

TEST_F(ShortcutsTest, ForbiddenCharacterInGameNameFailsOnlyTheGameShortcut) {
  EXPECT_FALSE(CreateGameShortcut(u"", util::Utf8ToWide(PlatformFolder() + "QVorvane.exe"),
                                  u"Tales: Rise?"));
  CreateShortcuts(ContextFor("1001", "Tales: Rise?"));
  EXPECT_EQ(DesktopShortcuts(), std::vector<std::string>{"QVorvane.lnk"});
  ExpectPlatformShortcut(StartMenu() + "/QVorvane.lnk");
  EXPECT_EQ(test::ReadFileBytes(GameBag() + "games.ini"),
            "[General]\ngame_ids=1001\n1001=Tales: Rise?\n");
}

TEST_F(ShortcutsTest, GameIdThatIsNoPlainNameNeverBecomesAPath) {
  // Pictures where such an id would lead if it were appended to the game-bag folder.
  const std::string picture =
      test::EncodePng(test::GradientPicture(8, 8, [](uint32_t, uint32_t) { return 255; }));
  root_.WriteFile("home/.local/share/Qvorvane/icon.png", picture);
  root_.WriteFile("home/.local/share/Qvorvane/gamebag/a/b/icon.png", picture);

  for (const char* id : {"..", ".", "a/b", "a\\b"}) {
    SCOPED_TRACE(id);
    CreateShortcuts(ContextFor(id, "Tales"));
    EXPECT_EQ(test::LnkInfoField(test::LnkInfo(Desktop() + "/Tales.lnk"), "Icon location"),
              std::nullopt);
    const std::string games = test::ReadFileBytes(GameBag() + "games.ini").value_or("");
    EXPECT_NE(games.find(std::string("game_ids=") + id + "\n"), std::string::npos) << games;
  }
  EXPECT_FALSE(fs::exists(root_.Path("home/.local/share/Qvorvane/icon.ico")));
  EXPECT_FALSE(fs::exists(root_.Path("home/.local/share/Qvorvane/gamebag/a/b/icon.ico")));
}

}  // namespace
}  // namespace qv::workflow
