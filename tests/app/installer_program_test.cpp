// The real program: one instance per user, a second start's hand-over, the language choice of a
// first start, and the exit code of an orderly end.
//
// The program runs offscreen under the test's temporary root, as the distributed copy named
// after a package code. It is ended with SIGTERM, which runs the usual shut-down order.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "child_process.h"
#include "platform/private_profile.h"
#include "platform/single_instance.h"
#include "temp_root.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr char kInstanceName[] = "QvorvaneDownloaderapp_global_only_mutex";

class InstallerProgramTest : public test::TempRootTest {
 protected:
  InstallerProgramTest() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    fs::copy_file(QV_INSTALLER_PATH, program_);
  }

  // Waits until the running instance listens for a second start. A start-up wait, not a timing
  // policy: the bound only keeps a broken program from hanging the suite.
  bool WaitUntilListening() {
    const fs::path socket = fs::path(root_.runtime_dir()) / (std::string(kInstanceName) + ".sock");
    for (int i = 0; i < 600; ++i) {
      if (fs::exists(socket)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // Sends a "show yourself" request until the running instance's event loop has taken one (each
  // try waits a few seconds for the answer; a slow start-up under a sanitizer may need more).
  bool HandOver() {
    for (int i = 0; i < 12; ++i) {
      if (platform::SendShowRequest(kInstanceName)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  const std::string program_ = root_.Path("tov3_web.run");
};

TEST_F(InstallerProgramTest, SecondStartHandsOverToTheFirstAndExitsZero) {
  test::ChildProcess first({program_});
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(WaitUntilListening());
  // The first instance answers a "show yourself" request once its event loop runs.
  ASSERT_TRUE(HandOver());

  test::ChildProcess second({program_});
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_TRUE(HandOver());  // the first still runs

  first.Kill(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
  // Its lock went with it: the next start would be a first instance again.
  std::unique_ptr<platform::SingleInstance> instance;
  EXPECT_EQ(platform::SingleInstance::Acquire(kInstanceName, instance),
            platform::InstanceLockResult::kAcquired);
}

TEST_F(InstallerProgramTest, FirstStartOnAGermanSystemRemembersGerman) {
  setenv("LC_ALL", "de_DE.UTF-8", 1);  // TempRoot restores it
  test::ChildProcess first({program_});
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(WaitUntilListening());
  ASSERT_TRUE(HandOver());  // it is past its start-up
  first.Kill(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);

  std::string code;
  platform::GetPrivateProfileString("General", "last_lang_name", "", code, 128,
                                    root_.data_home() + "/Qvorvane/config.ini");
  EXPECT_EQ(code, "de");
}

}  // namespace
}  // namespace qv
