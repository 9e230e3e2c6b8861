// MsgTask: the base of every unit of work that is posted to a loop and run there once.
//
// Threads and ownership: the creator (any thread) makes the task and posts it with a RefPtr; a
// successful post hands that reference to the loop. Run is called on the loop's thread only.
// After Run the loop hands the reference to whoever receives OnTaskDone (which may post the task
// again or let it go); a loop that is stopped releases the tasks it still holds. Ids, state and
// the owner thread may be read from any thread.
//
// Stopping: a loop that is stopped while the task runs sets state kStateStopRequested, which
// raises stop_signal(). Long work polls the signal, and every wait inside a task goes through
// platform::CurrentClock().SleepUnlessStopped(ms, stop_signal()), so it ends at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "core/ref_base.h"
#include "platform/clock.h"

namespace qv::core {

class MsgTask : public RefBase {
 public:
  // The state a stopping loop gives the task it is running.
  static constexpr int kStateStopRequested = 1;

  // The loop side of a task: what it was last posted to.
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // Posts `task` again on this loop, to run before everything already waiting. The loop adds a
    // reference of its own; the caller keeps its own. Returns the task id, 0 when refused.
    virtual int Reschedule(MsgTask* /*task*/) { return 0; }
  };

  // Any thread. Setting kStateStopRequested raises stop_signal(), which cannot be lowered again.
  void SetState(int value);
  int state() const;
  bool stop_requested() const { return stop_signal_.IsRaised(); }
  const platform::StopSignal& stop_signal() const { return stop_signal_; }

  // 0 until first posted; then the posting loop's serial number, kept when posted again.
  int task_id() const { return task_id_.load(std::memory_order_acquire); }
  // The delay of the last delayed post, in milliseconds.
  uint32_t delay_ms() const { return delay_ms_.load(std::memory_order_acquire); }
  // The loop the task was last posted to (null before the first post). Not owned.
  Delegate* loop() const { return loop_.load(std::memory_order_acquire); }
  // The thread that runs (or will run) the task; a default id before the first post.
  std::thread::id owner_thread() const;

  // The task's work. Called by a loop only, on the loop's thread; the result is not used by the
  // loops. It may take as long as it needs, but should end soon once stop_requested().
  virtual bool Run() = 0;

 protected:
  MsgTask() = default;
  ~MsgTask() override = default;

 private:
  friend class MessageLoop;
  friend class MainMessageLoop;

  // Loops only: record a post. `id_if_none` becomes the id only when the task has none yet.
  void RecordPost(Delegate* loop, int id_if_none, std::thread::id owner);
  void set_delay_ms(uint32_t ms) { delay_ms_.store(ms, std::memory_order_release); }
  void set_owner_thread(std::thread::id owner);

  std::atomic<int> task_id_{0};
  std::atomic<uint32_t> delay_ms_{0};
  std::atomic<Delegate*> loop_{nullptr};

  mutable std::mutex state_lock_;
  int state_ = 0;  // guarded by state_lock_

  mutable std::mutex owner_lock_;
  std::thread::id owner_thread_;  // guarded by owner_lock_

  platform::StopSignal stop_signal_;
};

}  // namespace qv::core
