#include "core/delayed_task_queue.h"

#include <algorithm>

namespace qv::core {

void DelayedTaskQueue::Add(int64_t due_ms, RefPtr<MsgTask> task) {
  std::lock_guard lock(lock_);
  entries_.push_back({due_ms, std::move(task)});
}

std::vector<RefPtr<MsgTask>> DelayedTaskQueue::TakeDue(int64_t now_ms) {
  std::vector<Entry> due;
  {
    std::lock_guard lock(lock_);
    const auto not_due = std::stable_partition(entries_.begin(), entries_.end(),
                                               [now_ms](const Entry& e) { return e.due_ms <= now_ms; });
    due.assign(std::make_move_iterator(entries_.begin()), std::make_move_iterator(not_due));
    entries_.erase(entries_.begin(), not_due);
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const Entry& a, const Entry& b) { return a.due_ms < b.due_ms; });
  std::vector<RefPtr<MsgTask>> tasks;
  tasks.reserve(due.size());
  for (Entry& entry : due) tasks.push_back(std::move(entry.task));
  return tasks;
}

std::optional<int64_t> DelayedTaskQueue::NextDueMs() const {
  std::lock_guard lock(lock_);
  if (entries_.empty()) return std::nullopt;
  return std::min_element(entries_.begin(), entries_.end(),
                          [](const Entry& a, const Entry& b) { return a.due_ms < b.due_ms; })
      ->due_ms;
}

std::vector<RefPtr<MsgTask>> DelayedTaskQueue::TakeAll() { return TakeDue(INT64_MAX); }

size_t DelayedTaskQueue::Size() const {
  std::lock_guard lock(lock_);
  return entries_.size();
}

}  // namespace qv::core
