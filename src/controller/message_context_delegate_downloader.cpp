#include "controller/message_context_delegate_downloader.h"

#include <thread>
#include <utility>

#include "controller/game_info_apply.h"
#include "util/programs.h"
#include "util/text_conversion.h"

namespace qv::controller {

MessageContextDelegateDownloader::MessageContextDelegateDownloader(ControllerSetup setup)
    : setup_(std::move(setup)) {}

MessageContextDelegateDownloader::~MessageContextDelegateDownloader() {
  // The loops' workers report to this object: they must be gone before it is.
  if (started_ && !stopped_) Stop();
}

bool MessageContextDelegateDownloader::Start(InstallerWindows* windows,
                                             core::UiDispatcher& dispatcher) {
  windows_.store(windows, std::memory_order_release);
  started_ = true;

  core::MessageLoopContext& loops = *setup_.loops;
  if (!loops.main_loop().started()) {
    loops.set_client(this);
    loops.main_loop().Start(dispatcher, std::this_thread::get_id());
  }
  loops.CreateLoop(kCheckNetLoopName);
  loops.CreateLoop(kPrepareLoopName);

  base_data_folder_ = setup_.installing.machine.folders->BaseDataFolder();
  package_code_ = util::PackageCodeFromProgramName(
      setup_.program_name.empty() ? util::GetProgramName() : setup_.program_name);

  // A refused post leaves the task with its RefPtr here, which frees it.
  loops.PostTask(kPrepareLoopName,
                 core::MakeRef<workflow::RunInstallingTask>(util::WideToAnsi(package_code_), this,
                                                            setup_.installing));
  loops.PostTask(kCheckNetLoopName, core::MakeRef<workflow::RunCheckNetworkTask>(
                                        this, setup_.installing.endpoints.probe_url,
                                        setup_.installing.endpoints.limits));
  return true;
}

void MessageContextDelegateDownloader::Stop() {
  stopped_ = true;
  windows_.store(nullptr, std::memory_order_release);
  setup_.loops->StopAll();
}

void MessageContextDelegateDownloader::OnLoopIdle(std::string_view /*name*/, int /*flag*/) {}

void MessageContextDelegateDownloader::OnTaskDone(core::RefPtr<core::MsgTask> task) {
  // Letting the reference go frees the task.
  task.reset();
}

InstallerWindows* MessageContextDelegateDownloader::ProgressWindows() const {
  InstallerWindows* const windows = windows_.load(std::memory_order_acquire);
  return windows != nullptr && windows->HasProgressWindow() ? windows : nullptr;
}

void MessageContextDelegateDownloader::OnNoConnection() {
  if (InstallerWindows* windows = ProgressWindows()) windows->ReportNoConnection();
}

void MessageContextDelegateDownloader::OnProgress(const std::u16string& status_key,
                                                  const int& state_code, const int& percent) {
  if (InstallerWindows* windows = ProgressWindows()) {
    windows->UpdateStatus(status_key, state_code, percent);
  }
}

bool MessageContextDelegateDownloader::OnPackageInfo(const workflow::GameInfo& game) {
  if (InstallerWindows* windows = ProgressWindows()) {
    windows->ApplyGameInfo(game, ApplyGameInfoParam(game, *setup_.installing.machine.folders));
  }
  return true;
}

void MessageContextDelegateDownloader::OnPackageInfoFailed() {
  if (InstallerWindows* windows = ProgressWindows()) windows->ShowDefaultHeader();
}

void MessageContextDelegateDownloader::OnInstallRecord(const workflow::InstallRecord& record) {
  if (InstallerWindows* windows = ProgressWindows()) windows->StoreInstallRecord(record);
}

}  // namespace qv::controller
