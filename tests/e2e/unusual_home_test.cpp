// The real installer run by users whose home folder is unusual: what the installation looks like
// and that every file lands inside the home it was given.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "end_to_end_test.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

class UnusualHomeTest : public EndToEndTest {
 protected:
  // Moves the home and the local data folder to `home` (made here, with its desktop, as the
  // test root's own home has one), as a user whose home it is.
  void UseHome(const std::string& home) {
    fs::create_directories(home + "/Desktop");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
  }

  // The complete installation of plugin-312 below `home`'s local data folder.
  static void ExpectInstalledBelow(const std::string& home) {
    const std::string data = home + "/.local/share/Qvorvane/";
    for (const std::string& file :
         {data + "app/QVorvane.exe", data + "app/uninstall.exe", data + "app/launch.txt",
          data + "app/qvorvane.ini", data + "config.ini", data + "gamebag/312/icon.ico",
          home + "/Desktop/QVorvane.lnk"}) {
      EXPECT_TRUE(fs::is_regular_file(file)) << file;
    }
  }

  // Nothing of the installer's own is left in the temporary folder.
  void ExpectNoTemporaryDownloads() {
    for (const auto& entry : fs::directory_iterator(root_.temp_dir())) {
      const std::string name = entry.path().filename().string();
      EXPECT_FALSE(name.ends_with(".tmp") || name.find("qvordl_") != std::string::npos) << name;
    }
  }
};

// Longer than the 260-character paths of the platform the packages are made for, well within
// this system's limits.
TEST_F(UnusualHomeTest, LongHomeFolderGetsTheWholeInstallation) {
  const std::string home = root_.Path(std::string(120, 'h') + "/" + std::string(120, 'o'));
  UseHome(home);
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);

  ExpectInstalledBelow(home);
  EXPECT_FALSE(fs::exists(root_.data_home() + "/Qvorvane"));
  ExpectNoTemporaryDownloads();
}

// "Zo\xeb" in Latin-1: a name the installer cannot carry byte for byte. The run ends with a
// failure before it writes anything, instead of installing into a neighbouring "Zo?" folder.
TEST_F(UnusualHomeTest, HomeFolderNameThatIsNotUtf8EndsTheRunAndWritesNothing) {
  const std::string home = root_.Path("Zo\xeb");
  UseHome(home);
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 1);

  EXPECT_TRUE(fs::is_empty(home + "/Desktop"));
  EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1);
  for (const std::string& file : FilesBelow(root_)) {
    EXPECT_EQ(file.find("vorvane"), std::string::npos) << file;
    EXPECT_EQ(file.find("VORVANE"), std::string::npos) << file;
  }
  EXPECT_TRUE(ReadStatisticsReports(machine_.statistics_log()).empty());
}

// A data folder that exists in another letter case, with its game bag spelled otherwise again:
// the installation goes into that one tree, complete. (The platform folder is replaced whole by
// the run, so it takes the spelling the installer gives it.)
TEST_F(UnusualHomeTest, DataFolderInAnotherLetterCaseHoldsTheWholeInstallation) {
  fs::create_directories(root_.data_home() + "/QVORVANE/APP");
  fs::create_directories(root_.data_home() + "/QVORVANE/GameBag");
  ASSERT_TRUE(machine_.StartService("plugin-312"));
  EXPECT_EQ(machine_.RunInstaller(), 0);

  const std::string data = root_.data_home() + "/QVORVANE/";
  for (const std::string& file :
       {data + "app/QVorvane.exe", data + "app/uninstall.exe", data + "app/launch.txt",
        data + "app/qvorvane.ini", data + "config.ini", data + "GameBag/games.ini",
        data + "GameBag/312/icon.ico"}) {
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
  }
  EXPECT_FALSE(fs::exists(root_.data_home() + "/Qvorvane"));
  EXPECT_FALSE(fs::exists(data + "gamebag"));
  EXPECT_FALSE(fs::exists(data + "APP"));
  ExpectNoTemporaryDownloads();
}

}  // namespace
}  // namespace qv::test
