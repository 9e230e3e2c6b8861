#include "ui/installer_application.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QTimer>

#include "qt_test_app.h"

namespace qv::ui {
namespace {

TEST(InstallerApplicationTest, TerminationSignalEndsTheEventLoopWithZero) {
  qv::test::TempRoot root;
  test::UseOffscreenPlatform();
  int argc = 1;
  char arg0[] = "qv_ui_tests";
  char* argv[] = {arg0, nullptr};
  InstallerApplication application(argc, argv);
  QTimer::singleShot(0, [] { raise(SIGTERM); });
  EXPECT_EQ(application.Exec(), 0);
}

}  // namespace
}  // namespace qv::ui
