// TaskQueue: a guarded double-ended queue of task references.
//
// Any thread may call any operation; each takes the queue's own lock for its duration only, and
// no task code runs under it (tasks taken out are released by the caller, outside the lock).
// The loops push at either end and always take from the back, so a push at the front waits
// behind everything queued and a push at the back runs before it.
#pragma once

#include <deque>
#include <mutex>

#include "core/msg_task.h"

namespace qv::core {

class TaskQueue {
 public:
  void PushBack(RefPtr<MsgTask> task);
  void PushFront(RefPtr<MsgTask> task);
  // Null when the queue is empty.
  RefPtr<MsgTask> TakeBack();
  // Takes the first occurrence of `task` out; null when it is not queued.
  RefPtr<MsgTask> Remove(const MsgTask* task);
  // Empties the queue; the caller releases what it gets.
  std::deque<RefPtr<MsgTask>> TakeAll();
  bool IsEmpty() const;
  size_t Size() const;

 private:
  mutable std::mutex lock_;
  std::deque<RefPtr<MsgTask>> tasks_;  // guarded by lock_
};

}  // namespace qv::core
