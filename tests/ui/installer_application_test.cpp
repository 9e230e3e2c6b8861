#include "ui/qt/installer_application.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QTimer>

#include <QCoreApplication>
#include <cstdlib>
#include <memory>
#include <thread>

#include "controller/window_messages.h"
#include "main_window_harness.h"
#include "platform/posix/socket_single_instance.h"
#include "temp_root.h"

namespace qv::ui {
namespace {

// Each test makes the program's application object, offscreen.
void UseOffscreenPlatform() { setenv("QT_QPA_PLATFORM", "offscreen", 1); }

TEST(InstallerApplicationTest, TerminationSignalEndsTheEventLoopWithZero) {
  qv::test::TempRoot root;
  UseOffscreenPlatform();
  int argc = 1;
  char arg0[] = "qv_ui_tests";
  char* argv[] = {arg0, nullptr};
  InstallerApplication application(argc, argv);
  QTimer::singleShot(0, [] { raise(SIGTERM); });
  EXPECT_EQ(application.Exec(), 0);
}

// A second start hands its request over the instance socket; the event loop shows both windows.
TEST(MainWindowInstanceTest, ShowRequestOfASecondStartBringsBothWindowsBack) {
  qv::test::TempRoot root;
  UseOffscreenPlatform();
  std::unique_ptr<platform::SocketSingleInstance> instance;
  const char* name = "QvorvaneDownloaderapp_global_only_mutex";
  ASSERT_EQ(platform::SocketSingleInstance::Acquire(name, instance),
            platform::InstanceLockResult::kAcquired);
  int argc = 1;
  char arg0[] = "qv_ui_tests";
  char* argv[] = {arg0, nullptr};
  InstallerApplication application(argc, argv);
  {
    test::MainWindowHarness harness;
    ASSERT_TRUE(harness.window().Create());
    harness.window().view().HandleMessage(controller::WM_CLOSE_TO_TRAY, 0, 0);
    application.WatchShowRequests(*instance, [&] {
      harness.window().view().OnShowRequest();
      QCoreApplication::exit(3);
    });
    bool handed_over = false;
    std::thread second([&] { handed_over = platform::SendShowRequest(name); });
    EXPECT_EQ(application.Exec(), 3);
    second.join();
    EXPECT_TRUE(handed_over);
    EXPECT_TRUE(harness.window().isVisible());
    EXPECT_TRUE(harness.window().client()->isVisible());
  }
}

}  // namespace
}  // namespace qv::ui
