// TestUiThread: a stand-in for the UI thread with its own event loop, as a UiDispatcher.
//
// Posted work runs on the test thread this object owns, in posting order. Destruction ends
// the event loop, joins the thread, and drops work that has not run.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "core/ui_dispatcher.h"

namespace qv::core::test {

class TestUiThread final : public UiDispatcher {
 public:
  TestUiThread();
  ~TestUiThread() override;

  void Post(std::function<void()> work) override;
  std::thread::id id() const { return thread_.get_id(); }
  // Blocks until everything posted before this call has run.
  void Flush();

 private:
  void EventLoop();

  mutable std::mutex mutex_;
  std::condition_variable work_cv_;
  std::deque<std::function<void()>> work_;  // guarded by mutex_
  bool quit_ = false;                       // guarded by mutex_
  std::thread thread_;
};

}  // namespace qv::core::test
