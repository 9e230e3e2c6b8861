// RunCheckNetworkTask: watches the Internet connection for the life of the installation.
//
// Thread and ownership: the controller makes it on the UI thread and posts it (RefPtr) to the
// "msg_loop_checknet" loop, whose worker runs it. Run probes until the probe target has been
// unreachable for seven probes in a row, tells the delegate once and returns; while the
// target is reachable it never returns on its own. A stop of its loop ends every wait and the
// running probe at once, and Run then returns without a report. The delegate is borrowed, is
// called on the worker thread, and must outlive the task's Run.
#pragma once

#include <cstdint>
#include <string>

#include "core/msg_task.h"
#include "qv/deployment_settings.h"
#include "transfer/http.h"

namespace qv::workflow {

// Waits of the watch: after a reachable probe, and the extra pause after a failed one.
inline constexpr int64_t kProbeIntervalMs = 500;
inline constexpr int64_t kFailedProbePauseMs = 3000;
// The watch gives up once failures x kFailedProbePauseMs exceed this: at the seventh failure.
inline constexpr int64_t kNoConnectionBudgetMs = 20'000;

// The probe's library codes that mean "the network is not there"; every other outcome (an HTTP
// error status, a certificate the probe rejects, ...) proves the network works.
inline constexpr int kProbeHostNotResolved = 6;
inline constexpr int kProbeCouldNotConnect = 7;
inline constexpr int kProbeTimedOut = 28;

class RunCheckNetworkTask : public core::MsgTask {
 public:
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // The probe target was unreachable for seven probes in a row. At most once per task.
    virtual void OnNoConnection() = 0;
  };

  explicit RunCheckNetworkTask(Delegate* delegate, std::string probe_url = settings::kProbeUrl,
                               transfer::TransferLimits limits = transfer::TransferLimits());

  // The watch. Returns false (it has no result of its own).
  bool Run() override;

 private:
  ~RunCheckNetworkTask() override = default;

  Delegate* const delegate_;
  const std::string probe_url_;
  const transfer::TransferLimits limits_;
};

// Whether a probe's library code counts as a failed probe.
bool IsProbeFailure(int library_code);

}  // namespace qv::workflow
