// The installer program on Windows: GDI+ for the program's life, the single instance (a second
// start hands over to the running one and ends with 0), a DPI-aware process, the interface
// language, the main window that starts the installation, the UI thread's message loop, and
// the shut-down in its fixed order: the install controller's loops stop first (no worker may
// touch a window or decode a picture after that), then the windows go (the tray icon with
// them), then GDI+. The exit code is the one the main window quit with.
#include "ui/program.h"

#include "platform/win32/windows_api.h"

#include <memory>

#include "controller/message_context_delegate_downloader.h"
#include "platform/single_instance.h"
#include "ui/win32/gdiplus_session.h"
#include "ui/win32/main_window.h"
#include "ui/win32/message_loop.h"
#include "ui/win32/win32_ui_dispatcher.h"
#include "util/language_selection.h"

namespace qv::ui {

int RunInstaller(int /*argc*/, char** /*argv*/) {
  const win32::GdiplusSession gdiplus;

  std::unique_ptr<platform::SingleInstance> instance;
  if (platform::SingleInstance::Acquire(kInstanceName, instance) ==
      platform::InstanceLockResult::kHeldElsewhere) {
    platform::SendShowRequest(kInstanceName);
    return 0;
  }

  SetProcessDPIAware();  // before any window: coordinates are physical pixels
  util::SelectLanguage();

  auto& controller = controller::MessageContextDelegateDownloader::Instance();
  bool stopped = false;
  const auto stop_installation = [&controller, &stopped] {
    if (!stopped) controller.Stop();
    stopped = true;
  };
  // The dispatcher and the window outlive the controller's Stop.
  win32::Win32UiDispatcher dispatcher;
  MainViewSetup setup;
  setup.start_installation = [&controller, &dispatcher](MainView& view) {
    controller.Start(&view, dispatcher);
  };
  // The session ends: the system ends the process once the window has answered, so the loops
  // are stopped there, as after the message loop.
  win32::MainWindow window(std::move(setup), stop_installation);
  if (!window.Create()) return 0;

  const int exit_code = win32::RunMessageLoop();
  stop_installation();
  return exit_code;
}

}  // namespace qv::ui
