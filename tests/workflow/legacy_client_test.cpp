#include "workflow/legacy/legacy_client.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/known_folders.h"
#include "program_probe.h"
#include "registry_machine.h"
#include "system_files.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;

constexpr std::string_view kLegacyKey = "SOFTWARE\\TOV3";
constexpr std::string_view kShortcutName = "Tides of Valoria Ⅲ.lnk";

// The machine's folders as the system names them: below the temporary root on Linux, in the
// test's own prefix on Windows.
std::string Home(std::string_view relative) {
  return platform::HomeFolder() + test::OnThisSystem("/" + std::string(relative));
}
std::string Parent(const std::string& folder) {
  return test::FsPath(folder).parent_path().string();
}
std::string Shortcut() {
  return platform::DesktopFolder() + test::OnThisSystem("/") + std::string(kShortcutName);
}
void Write(const std::string& path, std::string_view bytes) {
  fs::create_directories(test::FsPath(path).parent_path());
  std::ofstream(test::FsPath(path), std::ios::binary) << bytes;
}

class LegacyClientTest : public test::RegistryMachineTest {
 protected:
  LegacyClientTest() : own_(OwnFolders(folders_)) {
    for (const std::string& file : Sentinels()) Write(file, "keep");
    fs::create_directories(test::FsPath(Home("Games/TOV3/data/deep")));
  }

  // Files outside the old client's folder, in and around everything a bad value could name.
  std::vector<std::string> Sentinels() const {
    return {root_.Path("top.txt"),
            root_.Path("outside/precious.txt"),
            Home("keep.txt"),
            Home("Games/keep.txt"),
            test::LocalAppDataPath("Qvorvane/app/QVorvane.exe"),
            platform::RoamingAppDataFolder() + test::OnThisSystem("/Qvorvane/config.ini")};
  }
  void ExpectSentinelsKept(std::string_view context) {
    for (const std::string& file : Sentinels()) {
      EXPECT_EQ(test::ReadFileBytes(file), "keep") << file << " after " << context;
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
  const std::string folder = Home("Games/TOV3");
  test::CopyProgramProbe(folder + test::OnThisSystem("/") + name);
  Write(Home("Games/TOV3/data/deep/save.dat"), "old");
  Write(Shortcut(), "link");
  // Links in the folder lead out of it: they go, what they point to stays.
  const bool linked =
      test::TryCreateSymbolicLink(root_.Path("outside"), Home("Games/TOV3/data/linked_folder")) &&
      test::TryCreateSymbolicLink(root_.Path("outside/precious.txt"), Home("Games/TOV3/linked_file"));
  test::WaitingProcess old_client(folder + test::OnThisSystem("/") + name);

  // Written the old client's way, with doubled and mixed separators.
  SetLegacyPath(platform::HomeFolder() + "\\\\Games//TOV3\\" + name);
  RemoveLegacyClient(own_);

  EXPECT_TRUE(old_client.Reap());
  EXPECT_FALSE(fs::exists(fs::symlink_status(test::FsPath(folder))));
  EXPECT_FALSE(fs::exists(test::FsPath(Shortcut())));
  EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kLegacyKey));
  ExpectSentinelsKept(linked ? "a complete removal with links" : "a complete removal");
}

TEST_F(LegacyClientTest, ValuesNamingMoreThanTheOldClientsFolderRemoveNothing) {
  std::vector<std::string> cases = {
      "tov3.exe",                                          // no folder part
      "Games/TOV3/tov3.exe",                               // relative to wherever the installer runs
      Home("tov3.exe"),                                    // the home folder
      Parent(platform::HomeFolder()) + "/tov3.exe",        // above the home folder
      Parent(platform::LocalAppDataFolder()) + "/tov3.exe",  // holds our data folders
      test::LocalAppDataPath("Qvorvane/app/QVorvane.exe"),   // our platform folder itself
      Parent(platform::RoamingAppDataFolder()) + "/tov3.exe",  // holds our roaming folder
      Home("keep.txt/tov3.exe"),                           // a file, not a folder
  };
  if (test::TryCreateSymbolicLink(root_.Path("outside"), Home("Games/linked")) &&
      test::TryCreateSymbolicLink(Parent(platform::HomeFolder()), root_.Path("alias"))) {
    cases.push_back(Home("Games/linked/tov3.exe"));  // a link out of the home folder
    // The home folder by way of a link.
    cases.push_back(root_.Path("alias") + test::OnThisSystem("/") +
                    test::FsPath(platform::HomeFolder()).filename().string() + "/tov3.exe");
  }
  for (const std::string& value : cases) {
    SetLegacyPath(value);
    RemoveLegacyClient(own_);
    ExpectSentinelsKept(value);
    EXPECT_TRUE(fs::is_directory(test::FsPath(Home("Games/TOV3/data/deep")))) << value;
    EXPECT_FALSE(KeyExists(RegistryRoot::kCurrentUser, kLegacyKey)) << value;
  }
}

TEST_F(LegacyClientTest, GuardRefusesTheRootShallowFoldersAndTextWithoutAFolder) {
  // Only judged, never removed: these name the machine's own folders.
  for (const std::u16string_view folder : {u"", u"/", u"//", u"/usr", u"/usr/", u"usr/lib"}) {
    EXPECT_EQ(LegacyFolderToRemove(folder, own_), std::nullopt) << util::WideToUtf8(folder);
  }
  // A folder deep enough and ours to empty is found in any letter case, in its real spelling.
  EXPECT_EQ(LegacyFolderToRemove(util::Utf8ToWide(Home("games/tov3")), own_),
            fs::canonical(test::FsPath(Home("Games/TOV3"))).string());
}

TEST_F(LegacyClientTest, WithoutTheKeyNothingChanges) {
  Write(Shortcut(), "link");
  RemoveLegacyClient(own_);
  EXPECT_EQ(FileText(RegistryRoot::kCurrentUser), "");
  EXPECT_TRUE(fs::exists(test::FsPath(Shortcut())));
  EXPECT_TRUE(fs::is_directory(test::FsPath(Home("Games/TOV3/data/deep"))));
}

TEST_F(LegacyClientTest, AKeyWithSubKeysStaysAfterTheCleanUp) {
  SetValue(RegistryRoot::kCurrentUser, std::string(kLegacyKey) + "\\settings", "lang", "en");
  SetLegacyPath(Home("Games/TOV3/tov3.exe"));
  RemoveLegacyClient(own_);
  EXPECT_FALSE(fs::exists(test::FsPath(Home("Games/TOV3"))));
  EXPECT_TRUE(KeyExists(RegistryRoot::kCurrentUser, kLegacyKey));
}

TEST_F(LegacyClientTest, OnlyTheOldClientsStartUpValueIsDeleted) {
  // Without the value nothing changes; the key is not made.
  const bool run_key_existed = KeyExists(RegistryRoot::kCurrentUser, kRunKey);
  DeleteLegacyAutoStart();
  EXPECT_EQ(KeyExists(RegistryRoot::kCurrentUser, kRunKey), run_key_existed);

  SetValue(RegistryRoot::kCurrentUser, kRunKey, "TOV3", "\"/opt/tov3/tov3.exe\"");
  SetValue(RegistryRoot::kCurrentUser, kRunKey, kAutoStartValue, "\"/opt/q/qvorvane.exe\"");
  DeleteLegacyAutoStart();
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kRunKey, "TOV3"), std::nullopt);
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, kRunKey, kAutoStartValue), "\"/opt/q/qvorvane.exe\"");
}

}  // namespace
}  // namespace qv::workflow
