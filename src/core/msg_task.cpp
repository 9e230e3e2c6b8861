#include "core/msg_task.h"

namespace qv::core {

void MsgTask::SetState(int value) {
  {
    std::lock_guard lock(state_lock_);
    state_ = value;
  }
  if (value == kStateStopRequested) stop_signal_.Raise();
}

int MsgTask::state() const {
  std::lock_guard lock(state_lock_);
  return state_;
}

std::thread::id MsgTask::owner_thread() const {
  std::lock_guard lock(owner_lock_);
  return owner_thread_;
}

void MsgTask::set_owner_thread(std::thread::id owner) {
  std::lock_guard lock(owner_lock_);
  owner_thread_ = owner;
}

void MsgTask::RecordPost(Delegate* loop, int id_if_none, std::thread::id owner) {
  loop_.store(loop, std::memory_order_release);
  int none = 0;
  task_id_.compare_exchange_strong(none, id_if_none, std::memory_order_acq_rel);
  // Set on every post, not only the first: a task posted again to another loop runs there.
  set_owner_thread(owner);
}

}  // namespace qv::core
