// ReportSender: sends the windows' statistics events (workflow::SendClientReport) one after
// another on a worker thread of its own, so the UI thread never waits for the statistics service
// (a report may take five transfers and their pauses).
//
// Threads: Send and Flush may be called from any thread (the windows call them on the UI
// thread). The worker starts with the first report and runs until the sender is destroyed.
// Destruction (UI thread, at exit) raises the stop signal, which ends a running report's
// transfer or pause at once, drops the reports still queued, and joins the worker: shutting down
// never waits for the statistics service.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "workflow/packages/install_record.h"

namespace qv::ui {

class ReportSender {
 public:
  // Reports go to the statistics service at `stats_base_url` (scheme and host).
  explicit ReportSender(std::string stats_base_url);
  ~ReportSender();
  ReportSender(const ReportSender&) = delete;
  ReportSender& operator=(const ReportSender&) = delete;

  // Queues the event `ex` with code `op` and a copy of `record`.
  void Send(std::string ex, const workflow::InstallRecord& record, std::string op);

  // Blocks until every report queued before the call has been sent or given up.
  void Flush();

 private:
  struct Report {
    std::string ex;
    workflow::InstallRecord record;
    std::string op;
  };

  void Work();

  const std::string stats_base_url_;
  platform::StopSignal stop_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Report> queue_;  // guarded by mutex_
  bool sending_ = false;      // guarded by mutex_: the worker is inside a report
  bool quit_ = false;         // guarded by mutex_
  std::thread worker_;        // started by the first Send (under mutex_)
};

}  // namespace qv::ui
