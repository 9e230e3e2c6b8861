// DelayedTaskQueue: tasks waiting for their timer, each with the clock time it is due.
//
// The loop's worker is the timer: it takes what is due out of this queue first and only then
// queues it to run, and it shortens its poll wait to the next due time. Disposing of the queue
// therefore cancels every timer with it; no timer outlives or refers to a released task.
// Any thread may call any operation; the queue's lock is held only inside each of them.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "core/msg_task.h"

namespace qv::core {

class DelayedTaskQueue {
 public:
  void Add(int64_t due_ms, RefPtr<MsgTask> task);
  // Takes out every task due at `now_ms` or earlier, earliest first (ties in posting order).
  std::vector<RefPtr<MsgTask>> TakeDue(int64_t now_ms);
  // The earliest due time, if any task waits.
  std::optional<int64_t> NextDueMs() const;
  std::vector<RefPtr<MsgTask>> TakeAll();
  size_t Size() const;

 private:
  struct Entry {
    int64_t due_ms;
    RefPtr<MsgTask> task;
  };
  mutable std::mutex lock_;
  std::vector<Entry> entries_;  // guarded by lock_; in posting order
};

}  // namespace qv::core
