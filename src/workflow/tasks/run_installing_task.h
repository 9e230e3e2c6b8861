// RunInstallingTask: the installation itself. Asks the web service for the package, then either
// finishes an existing installation or closes the platform's running processes, downloads the
// platform archive and the plug-in package, installs them and finishes: shortcuts, start-up
// entry, legacy clean-up and the start of the installed client with the game selected. Every
// stage is told to the delegate as a status key with the running percentage, and reported to
// the statistics service.
//
// Threads and ownership: the controller makes the task on the UI thread and posts it (RefPtr) to
// "msg_loop_prepare"; Run is called once on that loop's worker thread, and every delegate call,
// statistics report and download progress happens there. The delegate is borrowed and must
// outlive Run. A stop of the loop ends every wait and the running transfer at once; Run then
// returns false without further reports.
//
// The three transfer loops (package query, platform archive, plug-in package) share one budget
// of 50 failed attempts: 20 ms between attempts, 3000 ms once after the twenty-sixth failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/msg_task.h"
#include "platform/process_table.h"
#include "workflow/tasks/install_context.h"
#include "workflow/packages/install_record.h"
#include "workflow/registration/desktop_entries.h"
#include "workflow/service/service_endpoints.h"
#include "workflow/service/statistics_report.h"

namespace qv::workflow {

// The budget of failed transfer attempts and its waits.
inline constexpr int kAttemptBudget = 50;
inline constexpr int kLongPauseAtAttempt = 25;
inline constexpr int64_t kRetryPauseMs = 20;
inline constexpr int64_t kLongRetryPauseMs = 3000;
// The state code of a report whose attempts ran out.
inline constexpr int kBudgetExhaustedStateCode = 100;
// Closing the platform's running processes before a new installation: at most this many passes,
// with this pause after each pass that found one.
inline constexpr int kMaxProcessClosingPasses = 60;
inline constexpr int64_t kProcessClosingPauseMs = 1000;

// What the installing task works with. The program uses the defaults (the build's services, the
// process's folders and drives, the machine's processes); tests point it at their own.
struct InstallingEnvironment {
  ServiceEndpoints endpoints;
  InstallMachine machine;
  const platform::ProcessTable* processes = &platform::SystemProcessTable();
  // The program icon for the desktop's icon theme; none when empty.
  ProgramIconPictures program_icons;
};

class RunInstallingTask : public core::MsgTask {
 public:
  // The controller's face. Every call comes on the task's worker thread.
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // Every status report: an English status key, the state code (0, 100 or an HttpResult) and
    // the running percentage (it passes 100 near the end; the window caps what it shows).
    virtual void OnProgress(const std::u16string& status_key, const int& state_code,
                            const int& percent) = 0;
    // After a valid package answer, after OnInstallRecord. The result is not used.
    virtual bool OnPackageInfo(const GameInfo& game) = 0;
    // The package answer was refused or its attempts ran out.
    virtual void OnPackageInfoFailed() = 0;
    // After a valid package answer, before OnPackageInfo.
    virtual void OnInstallRecord(const InstallRecord& record) = 0;
  };

  // `code` is the package code (the installer's own file name without folder and extension).
  RunInstallingTask(std::string code, Delegate* delegate, InstallingEnvironment environment = {});

  // The whole sequence. True when it reached "Installation completed.", false when it stopped
  // on a failure or a stop request.
  bool Run() override;

  // Tells the delegate `status_key` ("Failed..." instead when `state_code` is 100) with the
  // current percentage. Does not change the percentage.
  void ReportProgress(std::u16string_view status_key, int state_code);

 private:
  ~RunInstallingTask() override = default;

  // The stages; each returns false when the run ends there (a failure or a stop request).
  bool QueryPackage();
  bool InstallNewPlatform();
  bool Finish();
  // False when a stop request ended the passes.
  bool ClosePlatformProcesses();

  // The wait after a failed transfer attempt, which it counts. False when a stop ended it.
  bool WaitAfterFailedAttempt();
  bool WantsPluginPackage() const;
  bool PluginPackageMatchesDigest(const std::u16string& package) const;
  // The folders the legacy clean-up must never empty: our own and the remembered data folder.
  std::vector<std::u16string> FoldersToKeep() const;
  ReportTarget StatisticsTarget() const;

  Delegate* const delegate_;
  const std::string code_;
  const InstallingEnvironment environment_;
  InstallContext context_;
  int attempts_ = 0;  // failed transfer attempts so far, shared by the three transfer loops
};

}  // namespace qv::workflow
