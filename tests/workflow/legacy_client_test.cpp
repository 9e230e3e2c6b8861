#include "workflow/legacy/legacy_client.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "program_probe.h"
#include "registry_machine.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;

constexpr std::string_view kLegacyKey = "SOFTWARE\\TOV3";
constexpr std::string_view kShortcut = "home/Desktop/Tides of Valoria Ⅲ.lnk";

class LegacyClientTest : public test::RegistryMachineTest {
 protected:
  LegacyClientTest() : own_(OwnFolders(folders_)) {
    for (const std::string& file : Sentinels()) root_.WriteFile(file, "keep");
    fs::create_directories(root_.Path("home/Games/TOV3/data/deep"));
  }

  // Files outside the old client's folder, in and around everything a bad value could name.
  static std::vector<std::string> Sentinels() {
    return {"top.txt",
            "outside/precious.txt",
            "home/keep.txt",
            "home/Games/keep.txt",
            "home/.local/share/Qvorvane/app/QVorvane.exe",
            "home/.config/Qvorvane/config.ini"};
  }
  void ExpectSentinelsKept(std::string_view context) {
    for (const std::string& file : Sentinels()) {
      EXPECT_EQ(test::ReadFileBytes(root_.Path(file)), "keep") << file << " after " << context;
    }
  }
  void SetLegacyPath(const std::string& path) {
    SetValue(RegistryRoot::kCurrentUser, kLegacyKey, "tov3path", path);
  }

  util::AppFolders folders_;
  const std::vector<std::u16string> own_;
};

TEST_F(LegacyClientTest, EndsTheProcessEmptiesTheFolderAndDeletesShortcutAndKey) {
  const std::string name = "tov3_" + std::to_string(::getpid()) + ".exe";
  const std::string folder = root_.Path("home/Games/TOV3");
  test::CopyProgramProbe(folder + "/" + name);
  root_.WriteFile("home/Games/TOV3/data/deep/save.dat", "old");
  root_.WriteFile(std::string(kShortcut), "link");
  // Links in the folder lead out of it: they go, what they point to stays.
  fs::create_directory_symlink(root_.Path("outside"), folder + "/data/linked_folder");
  fs::create_symlink(root_.Path("outside/precious.txt"), folder + "/linked_file");
  test::WaitingProcess old_client(folder + "/" + name);

  // Written the old client's way, with doubled and mixed separators.
  SetLegacyPath(root_.home() + "\\\\Games//TOV3\\" + name);
  RemoveLegacyClient(own_);

  EXPECT_TRUE(old_client.Reap());
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder)));
  EXPECT_FALSE(fs::exists(root_.Path(kShortcut)));
  EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kLegacyKey));
  ExpectSentinelsKept("a complete removal");
}

TEST_F(LegacyClientTest, ValuesNamingMoreThanTheOldClientsFolderRemoveNothing) {
  fs::create_directory_symlink(root_.Path("outside"), root_.Path("home/Games/linked"));
  fs::create_directory_symlink(root_.path(), root_.Path("alias"));
  const std::string platform_client = root_.Path("home/.local/share/Qvorvane/app/QVorvane.exe");
  const std::string cases[] = {
      "tov3.exe",                                // no folder part
      "Games/TOV3/tov3.exe",                     // relative to wherever the installer runs
      root_.home() + "/tov3.exe",                // the home folder
      root_.Path("tov3.exe"),                    // above the home folder
      root_.Path("home/.local/tov3.exe"),        // holds our data folders
      platform_client,                           // our platform folder itself
      root_.Path("home/.config/tov3.exe"),       // holds our roaming folder
      root_.Path("home/Games/linked/tov3.exe"),  // a link out of the home folder
      root_.Path("alias/home/tov3.exe"),         // the home folder by way of a link
      root_.Path("home/keep.txt/tov3.exe"),      // a file, not a folder
  };
  for (const std::string& value : cases) {
    SetLegacyPath(value);
    RemoveLegacyClient(own_);
    ExpectSentinelsKept(value);
    EXPECT_TRUE(fs::is_directory(root_.Path("home/Games/TOV3/data/deep"))) << value;
    EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kLegacyKey)) << value;
  }
}

TEST_F(LegacyClientTest, GuardRefusesTheRootShallowFoldersAndTextWithoutAFolder) {
  // Only judged, never removed: these name the machine's own folders.
  for (const std::u16string_view folder : {u"", u"/", u"//", u"/usr", u"/usr/", u"usr/lib"}) {
    EXPECT_EQ(LegacyFolderToRemove(folder, own_), std::nullopt) << util::WideToUtf8(folder);
  }
  // A folder deep enough and ours to empty is found in any letter case, in its real spelling.
  EXPECT_EQ(LegacyFolderToRemove(util::Utf8ToWide(root_.Path("home/games/tov3")), own_),
            fs::canonical(root_.Path("home/Games/TOV3")).string());
}

TEST_F(LegacyClientTest, WithoutTheKeyNothingChanges) {
  root_.WriteFile(std::string(kShortcut), "link");
  RemoveLegacyClient(own_);
  EXPECT_EQ(FileText(RegistryRoot::kCurrentUser), "");
  EXPECT_TRUE(fs::exists(root_.Path(kShortcut)));
  EXPECT_TRUE(fs::is_directory(root_.Path("home/Games/TOV3/data/deep")));
}

TEST_F(LegacyClientTest, AKeyWithSubKeysStaysAfterTheCleanUp) {
  SetValue(RegistryRoot::kCurrentUser, std::string(kLegacyKey) + "\\settings", "lang", "en");
  SetLegacyPath(root_.Path("home/Games/TOV3/tov3.exe"));
  RemoveLegacyClient(own_);
  EXPECT_FALSE(fs::exists(root_.Path("home/Games/TOV3")));
  EXPECT_TRUE(KeyExists(RegistryRoot::kCurrentUser, kLegacyKey));
}

TEST_F(LegacyClientTest, OnlyTheOldClientsStartUpValueIsDeleted) {
  DeleteLegacyAutoStart();
  EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kRunKey));

  SetValue(RegistryRoot::kCurrentUser, kRunKey, "TOV3", "\"/opt/tov3/tov3.exe\"");
  SetValue(RegistryRoot::kCurrentUser, kRunKey, kAutoStartValue, "\"/opt/q/qvorvane.exe\"");
  DeleteLegacyAutoStart();
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kRunKey, "TOV3"), std::nullopt);
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kRunKey, kAutoStartValue), "\"/opt/q/qvorvane.exe\"");
}

}  // namespace
}  // namespace qv::workflow
