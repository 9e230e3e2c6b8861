// MainMessageLoop: runs tasks on the UI thread, inside its event loop.
//
// Threads: Start, Stop and PostTask may be called from any thread (the program calls them on the
// UI thread); each task's Run happens on the UI thread, delivered through the UiDispatcher as a
// "customTask" delivery. One per process, owned by the loop registry; not reference-counted.
//
// Ownership: a successful post hands the task's reference to the loop. A task stays in the
// loop's queue until its delivery runs: the delivery takes it out, runs it and releases it.
// Stop releases every task whose delivery has not run yet; such a delivery then finds nothing
// and does nothing, so each task is either run once or released unrun, never both. Deliveries
// hold only a weak reference to the loop's state, so they may outlive the loop.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "core/msg_task.h"
#include "core/ui_dispatcher.h"

namespace qv::core {

class MainMessageLoop {
 public:
  // The name of the delivery, for a dispatcher that names its event types.
  static constexpr std::string_view kDeliveryName = "customTask";

  MainMessageLoop();
  // Stops the loop.
  ~MainMessageLoop();
  MainMessageLoop(const MainMessageLoop&) = delete;
  MainMessageLoop& operator=(const MainMessageLoop&) = delete;

  // Delivers what was queued before, and every later post, through `dispatcher` to the UI
  // thread `ui_thread`. The dispatcher must stay valid until Stop. Only the first Start counts.
  void Start(UiDispatcher& dispatcher, std::thread::id ui_thread);
  // Forgets the dispatcher and releases every task not yet run. Posts are refused afterwards.
  void Stop();

  // Queues `task` (delivered at once when started). Returns its id (1, 2, ... per loop, kept on a
  // later post); on success the reference is taken out of `task`. Refused after Stop or for a
  // null task: returns 0 and leaves `task` as it was.
  int PostTask(RefPtr<MsgTask>&& task);

  bool started() const;
  // Tasks queued and not yet run.
  size_t queued_count() const;

 private:
  struct Shared;
  void Deliver(uint64_t serial, MsgTask* task);  // with Shared::lock held

  std::shared_ptr<Shared> shared_;
};

}  // namespace qv::core
