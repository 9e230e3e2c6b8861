#include "ui/core/ui_work_queue.h"

#include <utility>

namespace qv::ui {

void UiWorkQueue::Post(std::function<void()> work, const std::function<bool()>& wake) {
  std::function<void()> dropped;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (closed_) {
      dropped = std::move(work);
    } else {
      queue_.push_back(std::move(work));
      if (!wake()) {
        dropped = std::move(queue_.back());
        queue_.pop_back();
      }
    }
  }
}

void UiWorkQueue::RunNext() {
  std::function<void()> work;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (queue_.empty()) return;
    work = std::move(queue_.front());
    queue_.pop_front();
  }
  if (work) work();
}

void UiWorkQueue::SyncWithPosters() { std::lock_guard<std::mutex> guard(lock_); }

void UiWorkQueue::Close() {
  std::deque<std::function<void()>> unrun;
  {
    std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
    unrun.swap(queue_);
  }
}

}  // namespace qv::ui
