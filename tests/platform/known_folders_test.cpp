#include "platform/known_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "qv/deployment_settings.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

class KnownFoldersTest : public test::TempRootTest {};

TEST_F(KnownFoldersTest, FoldersFollowTheEnvironment) {
  EXPECT_EQ(HomeFolder(), root_.home());
  EXPECT_EQ(LocalAppDataFolder(), root_.data_home());
  EXPECT_EQ(RoamingAppDataFolder(), root_.config_home());
  EXPECT_EQ(MachineRoot(), root_.machine_root());
  EXPECT_EQ(CommonAppDataFolder(), root_.machine_root() + "/ProgramData");
  EXPECT_EQ(TempFolder(), root_.temp_dir() + "/");
  EXPECT_EQ(DesktopFolder(), root_.home() + "/Desktop");
  EXPECT_EQ(StartMenuFolder(), root_.data_home() + "/applications");
}

TEST_F(KnownFoldersTest, UnsetVariablesFallBackBelowHome) {
  for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "QV_MACHINE_ROOT", "TMPDIR"}) {
    unsetenv(name);  // TempRoot restores them
  }
  setenv("HOME", (root_.home() + "//").c_str(), 1);
  EXPECT_EQ(HomeFolder(), root_.home());
  EXPECT_EQ(LocalAppDataFolder(), root_.home() + "/.local/share");
  EXPECT_EQ(RoamingAppDataFolder(), root_.home() + "/.config");
  EXPECT_EQ(MachineRoot(), settings::kMachineRootDefault);
  EXPECT_EQ(TempFolder(), "/tmp/");
  EXPECT_EQ(StartMenuFolder(), root_.home() + "/.local/share/applications");
}

TEST_F(KnownFoldersTest, DesktopComesFromTheUserDirsFile) {
  struct Case {
    std::string file;
    std::string expected;
  };
  const Case cases[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", root_.home() + "/Schreibtisch"},
      {"# comment\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\n  XDG_DESKTOP_DIR=\"/srv/desk/\"\r\n", "/srv/desk"},
      {"XDG_DESKTOP_DIR=\"$HOME\"\n", root_.home()},
      {"XDG_DESKTOP_DIR=\"relative/path\"\n", root_.home() + "/Desktop"},  // not allowed: ignored
      {"XDG_DESKTOP_DIR=\n", root_.home() + "/Desktop"},
  };
  for (const auto& c : cases) {
    root_.WriteFile("home/.config/user-dirs.dirs", c.file);
    EXPECT_EQ(DesktopFolder(), c.expected) << c.file;
  }
}

// Each folder the installer carries as UTF-16 text is checked, whichever variable names it.
TEST_F(KnownFoldersTest, FoldersThatAreNotUtf8AreNamed) {
  EXPECT_EQ(FolderThatIsNotUtf8(), "");
  const std::string latin1 = root_.Path("Zo\xeb");
  for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "TMPDIR", "QV_MACHINE_ROOT"}) {
    SCOPED_TRACE(name);
    const std::string saved = std::getenv(name);
    setenv(name, latin1.c_str(), 1);
    EXPECT_NE(FolderThatIsNotUtf8().find(latin1), std::string::npos);
    setenv(name, saved.c_str(), 1);
  }
  setenv("HOME", root_.Path("zo\xc3\xab").c_str(), 1);
  EXPECT_EQ(FolderThatIsNotUtf8(), "");
}

}  // namespace
}  // namespace qv::platform
