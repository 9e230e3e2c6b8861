// The installer program on Linux: one installer per user. Without a display it says so on
// standard error and ends with 0, having done nothing. A second start asks the running one to
// show its windows and ends with 0. The first chooses the interface language, shows the main
// window (which starts the installation) and runs the event loop until the window quits; then it
// stops the installation's loops before the windows go, and ends with the loop's exit code.
#include <cstdio>
#include <memory>
#include <string>

#include "controller/message_context_delegate_downloader.h"
#include "platform/known_folders.h"
#include "platform/posix/socket_single_instance.h"
#include "ui/core/main_view.h"
#include "ui/core/picture_decoding.h"
#include "ui/core/picture_ids.h"
#include "ui/program.h"
#include "ui/qt/display_check.h"
#include "ui/qt/installer_application.h"
#include "ui/qt/qt_ui_dispatcher.h"
#include "ui/qt/qvorvane_downloader_dlg.h"
#include "util/language_selection.h"

namespace qv::ui {

int RunInstaller(int argc, char** argv) {
  // Without a display no window can be made: end as a failed window creation does, before the
  // toolkit would end the process, and tell a user who started it from a terminal why.
  DisplayCheck display;
  if (!display.missing().empty()) {
    std::fprintf(stderr, "%s: %s\n", argc > 0 ? argv[0] : "qvorvane-installer",
                 display.missing().c_str());
    return 0;
  }

  // Before anything is written: a folder whose name the installer cannot carry byte for byte
  // ends the run, rather than an installation next to it.
  if (const std::string folder = platform::FolderThatIsNotUtf8(); !folder.empty()) {
    std::fprintf(stderr,
                 "Failed: the folder \"%s\" has a name that is not UTF-8 text; the installer "
                 "cannot install there. Rename it, or set HOME or XDG_DATA_HOME to another "
                 "folder.\n",
                 folder.c_str());
    return 1;
  }

  std::unique_ptr<platform::SocketSingleInstance> instance;
  if (platform::SocketSingleInstance::Acquire(kInstanceName, instance) ==
      platform::InstanceLockResult::kHeldElsewhere) {
    platform::SendShowRequest(kInstanceName);
    return 0;
  }

  // The frame picture decodes on its own thread while the toolkit starts.
  PictureDecoding frame_picture(kFramePicture);
  InstallerApplication application(argc, argv);
  display.Close();  // the toolkit is connected now
  util::SelectLanguage();

  auto& controller = controller::MessageContextDelegateDownloader::Instance();
  // The dispatcher outlives the controller's Stop; the window outlives it too.
  QtUiDispatcher dispatcher;
  MainWindowSetup setup;
  setup.frame_picture = [&frame_picture] { return frame_picture.Take(); };
  setup.start_installation = [&controller, &dispatcher](MainView& view) {
    controller.Start(&view, dispatcher);
  };
  QvorvaneDownloaderDlg window(std::move(setup));
  if (instance) {
    application.WatchShowRequests(*instance, [&window] { window.view().OnShowRequest(); });
  }
  if (!window.Create()) return 0;

  const int exit_code = application.Exec();
  controller.Stop();
  return exit_code;
}

}  // namespace qv::ui
