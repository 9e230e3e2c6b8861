#include "ui/qt/installer_application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QSocketNotifier>

#include <system_error>

#include "platform/posix/socket_single_instance.h"
#include "platform/termination_signals.h"

namespace qv::ui {
namespace {

// Qt reads these when the application object is made; scaling stays off whatever the session
// asks for.
void DisableHighDpiScaling() {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                           "QT_AUTO_SCREEN_SCALE_FACTOR"}) {
    qunsetenv(name);
  }
}

}  // namespace

InstallerApplication::InstallerApplication(int& argc, char** argv) {
  DisableHighDpiScaling();
  app_ = std::make_unique<QApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  try {
    font_discovery_ = std::thread([] { QFontDatabase::families(); });
  } catch (const std::system_error&) {
    // No thread to be had: the first text finds the fonts itself.
  }

  const int fd = platform::TerminationSignalFd();
  if (fd >= 0) {
    termination_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(termination_.get(), &QSocketNotifier::activated, [] {
      if (platform::TakeTerminationSignals()) QCoreApplication::exit(0);
    });
  }
}

InstallerApplication::~InstallerApplication() {
  if (font_discovery_.joinable()) font_discovery_.join();
  show_requests_.reset();
  termination_.reset();
  app_.reset();
}

void InstallerApplication::WatchShowRequests(platform::SocketSingleInstance& instance,
                                             std::function<void()> on_show) {
  if (instance.listen_fd() < 0) return;
  show_requests_ = std::make_unique<QSocketNotifier>(instance.listen_fd(), QSocketNotifier::Read);
  QObject::connect(show_requests_.get(), &QSocketNotifier::activated,
                   [&instance, on_show = std::move(on_show)] {
                     if (instance.TakeShowRequests() > 0) on_show();
                   });
}

int InstallerApplication::Exec() { return QApplication::exec(); }

}  // namespace qv::ui
