// UiWorkQueue: the queue behind each backend's core::UiDispatcher (Qt's event loop on Linux, a
// message-only window on Windows). The backend gives the wake-up: one per piece of work, posted
// to its UI thread's event loop, where each wake-up runs the oldest piece. So work runs in
// posting order, on the UI thread, never inside Post. The hand-over of the work itself goes
// through this queue's lock, not through the event loop's queue.
//
// Threads: Post from any thread; RunNext and Close on the UI thread. After Close no wake-up is
// made any more, so the backend may then destroy what its wake-up posts to.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace qv::ui {

class UiWorkQueue {
 public:
  UiWorkQueue() = default;
  UiWorkQueue(const UiWorkQueue&) = delete;
  UiWorkQueue& operator=(const UiWorkQueue&) = delete;
  ~UiWorkQueue() { Close(); }

  // Queues `work` and calls `wake` under the queue's lock, so wake-ups keep the posting order
  // and none comes after Close. When `wake` fails (false) the work is dropped; after Close the
  // work is dropped without a wake-up.
  void Post(std::function<void()> work, const std::function<bool()>& wake);

  // Runs the oldest piece of work, outside the lock; nothing when none waits.
  void RunNext();

  // Takes and drops the lock, so every post made so far happens before what follows (also in
  // ThreadSanitizer's sight, which cannot see into an uninstrumented toolkit's queue).
  void SyncWithPosters();

  // Ends the queue: later posts are dropped, and work that has not run is destroyed unrun
  // (outside the lock: its destructors may post).
  void Close();

 private:
  std::mutex lock_;
  std::deque<std::function<void()>> queue_;  // guarded by lock_
  bool closed_ = false;                      // guarded by lock_
};

}  // namespace qv::ui
