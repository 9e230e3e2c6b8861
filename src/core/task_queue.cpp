#include "core/task_queue.h"

#include <algorithm>

namespace qv::core {

void TaskQueue::PushBack(RefPtr<MsgTask> task) {
  std::lock_guard lock(lock_);
  tasks_.push_back(std::move(task));
}

void TaskQueue::PushFront(RefPtr<MsgTask> task) {
  std::lock_guard lock(lock_);
  tasks_.push_front(std::move(task));
}

RefPtr<MsgTask> TaskQueue::TakeBack() {
  std::lock_guard lock(lock_);
  if (tasks_.empty()) return nullptr;
  RefPtr<MsgTask> task = std::move(tasks_.back());
  tasks_.pop_back();
  return task;
}

RefPtr<MsgTask> TaskQueue::Remove(const MsgTask* task) {
  std::lock_guard lock(lock_);
  const auto found = std::find_if(tasks_.begin(), tasks_.end(),
                                  [task](const RefPtr<MsgTask>& queued) { return queued.get() == task; });
  if (found == tasks_.end()) return nullptr;
  RefPtr<MsgTask> taken = std::move(*found);
  tasks_.erase(found);
  return taken;
}

std::deque<RefPtr<MsgTask>> TaskQueue::TakeAll() {
  std::lock_guard lock(lock_);
  return std::exchange(tasks_, {});
}

bool TaskQueue::IsEmpty() const {
  std::lock_guard lock(lock_);
  return tasks_.empty();
}

size_t TaskQueue::Size() const {
  std::lock_guard lock(lock_);
  return tasks_.size();
}

}  // namespace qv::core
