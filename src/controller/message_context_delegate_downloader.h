// MessageContextDelegateDownloader: the install controller. Starts the installation when the
// main window exists (the two worker loops and their tasks) and turns every task event into a
// window update: data first, then the window's message (InstallerWindows).
//
// Threads and ownership: one per process (Instance(), created on first use, kept until exit);
// tests make their own. Start and Stop run on the UI thread; the event handlers run on the
// worker threads of the loops whose tasks raise them. The windows are borrowed: Stop forgets
// them before it stops the loops, and events that arrive without windows are dropped.
#pragma once

#include <atomic>
#include <string>

#include "controller/installer_windows.h"
#include "core/message_loop_context.h"
#include "core/ui_dispatcher.h"
#include "util/app_folders.h"
#include "workflow/tasks/check_network_task.h"
#include "workflow/tasks/run_installing_task.h"

namespace qv::controller {

// The names of the controller's two worker loops.
inline constexpr char kCheckNetLoopName[] = "msg_loop_checknet";
inline constexpr char kPrepareLoopName[] = "msg_loop_prepare";

// What the controller works with. The program uses the defaults; tests give a registry of their
// own, loopback services and folders under their temporary root.
struct ControllerSetup {
  core::MessageLoopContext* loops = &core::MessageLoopContext::Instance();
  workflow::InstallingEnvironment installing;
  // The installer's own name; empty: taken from the running program. The package code is this
  // name without a duplicate-download suffix.
  std::u16string program_name;
};

class MessageContextDelegateDownloader : public core::MessageLoopContext::Deletegate,
                                         public workflow::RunInstallingTask::Delegate,
                                         public workflow::RunCheckNetworkTask::Delegate {
 public:
  static MessageContextDelegateDownloader& Instance();

  explicit MessageContextDelegateDownloader(ControllerSetup setup = {});
  // Stops the loops first when Start ran without Stop, so no worker reports into a freed object.
  ~MessageContextDelegateDownloader() override;

  // UI thread, once. Starts the main-thread loop on `dispatcher` (the UI thread's event loop),
  // creates the two loops and posts the installing task and the network check. Always true.
  bool Start(InstallerWindows* windows, core::UiDispatcher& dispatcher);
  // UI thread, once, after the UI's event loop ended: forgets the windows, stops every loop.
  void Stop();

  // MessageLoopContext::Deletegate.
  void OnLoopIdle(std::string_view name, int flag) override;
  void OnTaskDone(core::RefPtr<core::MsgTask> task) override;
  // RunCheckNetworkTask::Delegate.
  void OnNoConnection() override;
  // RunInstallingTask::Delegate.
  void OnProgress(const std::u16string& status_key, const int& state_code,
                  const int& percent) override;
  bool OnPackageInfo(const workflow::GameInfo& game) override;
  void OnPackageInfoFailed() override;
  void OnInstallRecord(const workflow::InstallRecord& record) override;

 private:
  // The windows when they exist with their progress window, else null (events are dropped then).
  InstallerWindows* ProgressWindows() const;

  ControllerSetup setup_;
  std::atomic<InstallerWindows*> windows_{nullptr};
  std::u16string package_code_;      // UI thread: set by Start
  std::u16string base_data_folder_;  // UI thread: set by Start
  bool started_ = false;             // UI thread
  bool stopped_ = false;             // UI thread
};

}  // namespace qv::controller
