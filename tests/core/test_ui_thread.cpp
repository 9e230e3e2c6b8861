#include "test_ui_thread.h"

#include "platform/clock.h"

namespace qv::core::test {

TestUiThread::TestUiThread() : thread_([this] { EventLoop(); }) {}

TestUiThread::~TestUiThread() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  work_cv_.notify_all();
  thread_.join();
}

void TestUiThread::Post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    if (quit_) return;
    work_.push_back(std::move(work));
  }
  work_cv_.notify_all();
}

void TestUiThread::Flush() {
  platform::StopSignal done;
  Post([&done] { done.Raise(); });
  done.WaitForMs(30'000);
}

void TestUiThread::EventLoop() {
  for (;;) {
    std::function<void()> next;
    {
      std::unique_lock lock(mutex_);
      work_cv_.wait(lock, [this] { return quit_ || !work_.empty(); });
      if (quit_) {
        work_.clear();
        return;
      }
      next = std::move(work_.front());
      work_.pop_front();
    }
    next();  // outside the lock, as a real event loop runs its handlers
  }
}

}  // namespace qv::core::test
