// InstallerApplication: the program's Qt application and the event loop it runs.
//
// It turns Qt's high-DPI scaling off before the application object exists (every coordinate of
// the windows is a physical pixel), keeps the program running when its last window hides (the
// program ends only when asked to quit), hands a second start's "show yourself" requests to the
// program, and ends the event loop with 0 when the session or a terminal asks the program to end
// (SIGTERM, SIGINT, SIGHUP), so that the usual shut-down order still runs.
//
// The font discovery (fontconfig's configuration and caches, read into Qt's font database)
// starts on a thread of its own as soon as the application exists, so that it runs beside the
// windows' making instead of inside their first paint; the first text waits for it only if it
// has not finished (Qt's font database is locked while it fills).
//
// Threads: UI thread only; one per process, made before any window and kept until after the
// windows are gone. The discovery thread is joined before the application object goes.
#pragma once

#include <functional>
#include <memory>
#include <thread>

class QApplication;
class QSocketNotifier;

namespace qv::platform {
class SocketSingleInstance;
}

namespace qv::ui {

class InstallerApplication {
 public:
  InstallerApplication(int& argc, char** argv);
  ~InstallerApplication();
  InstallerApplication(const InstallerApplication&) = delete;
  InstallerApplication& operator=(const InstallerApplication&) = delete;

  // Calls `on_show` on the UI thread for every "show yourself" request that reaches `instance`
  // (borrowed; it outlives this object). Nothing when the instance has no socket.
  void WatchShowRequests(platform::SocketSingleInstance& instance, std::function<void()> on_show);

  // Runs the event loop; its exit code (QCoreApplication::exit).
  int Exec();

 private:
  std::unique_ptr<QApplication> app_;
  std::unique_ptr<QSocketNotifier> show_requests_;
  std::unique_ptr<QSocketNotifier> termination_;
  std::thread font_discovery_;
};

}  // namespace qv::ui
