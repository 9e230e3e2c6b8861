#include "workflow/tasks/check_network_task.h"

#include <utility>

namespace qv::workflow {

bool IsProbeFailure(int library_code) {
  return library_code == kProbeHostNotResolved || library_code == kProbeCouldNotConnect ||
         library_code == kProbeTimedOut;
}

RunCheckNetworkTask::RunCheckNetworkTask(Delegate* delegate, std::string probe_url,
                                         transfer::TransferLimits limits)
    : delegate_(delegate), probe_url_(std::move(probe_url)), limits_(limits) {}

bool RunCheckNetworkTask::Run() {
  platform::Clock& clock = platform::CurrentClock();
  int64_t failures = 0;
  for (;;) {
    int code;
    {
      transfer::CHttp http(nullptr, limits_);
      http.SetCancelSignal(&stop_signal());
      code = http.Probe(probe_url_);
    }
    if (IsProbeFailure(code)) {
      ++failures;
      if (failures * kFailedProbePauseMs > kNoConnectionBudgetMs) break;
      if (!clock.SleepUnlessStopped(kFailedProbePauseMs, stop_signal())) return false;
    } else {
      failures = 0;
    }
    if (!clock.SleepUnlessStopped(kProbeIntervalMs, stop_signal())) return false;
  }
  // A stop that arrived during the last probe is not a lost connection.
  if (stop_requested()) return false;
  if (delegate_ != nullptr) delegate_->OnNoConnection();
  return false;
}

}  // namespace qv::workflow
