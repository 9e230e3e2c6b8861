// MessageLoop: a named worker loop, one thread that runs posted tasks one after another.
//
// Threads: any thread may post (Schedule, Reschedule); the loop's own worker thread runs the
// tasks and sends the delegate's OnLoopIdle and OnTaskDone; one thread (the UI thread, through
// the registry) registers and stops the loop. The thread is started by the first post.
//
// Ownership: the registry entry holds the loop's reference. A successful post hands the task's
// reference to the loop; after Run the loop hands it on with OnTaskDone. The loop keeps one
// reference to its delegate for as long as its worker may call it.
//
// Stopping (Stop): posts are refused from then on; the running task, if any, gets state 1 (its
// stop signal is raised) and the worker is woken; the worker is waited for 15 x 100 ms. A worker
// that ended is joined, and everything still queued is released. A worker still inside a Run
// is abandoned: the stopper never touches it or its task again. Either way the task that was
// running is released by the worker when its Run returns, with no OnTaskDone. Nothing the
// worker uses belongs to the loop object alone, so the loop may be destroyed right after Stop.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "core/msg_task.h"
#include "core/ref_base.h"
#include "core/thread_base.h"

namespace qv::core {

enum class PostMode {
  kQueue = 0,    // run after everything already waiting
  kNext = 1,     // run before everything already waiting (several: last posted first)
  kDelayed = 2,  // after the delay, posted again as kNext
};

class MessageLoop : public RefBase, public MsgTask::Delegate {
 public:
  // The worker looks for work at least this often; an idle loop reports idle at this pace.
  static constexpr int64_t kPollIntervalMs = 50;
  // The value of OnLoopIdle's flag.
  static constexpr int kIdleFlag = 1;

  // What the loop reports, on its worker thread (OnLoopIdle, OnTaskDone) or on the thread that
  // registers it (OnLoopCreated).
  class Delegate : public RefBase {
   public:
    virtual void OnLoopIdle(const std::string& /*name*/, int /*flag*/) {}
    // The answer becomes the loop's enabled flag.
    virtual int OnLoopCreated(const std::string& /*name*/, MessageLoop* /*loop*/) { return 0; }
    virtual int OnLoopDestroyed(const std::string& /*name*/) { return 0; }
    // Receives the task's reference; dropping it releases the task.
    virtual void OnTaskDone(RefPtr<MsgTask> /*task*/) {}

   protected:
    ~Delegate() override = default;
  };

  MessageLoop();

  // Gives the loop its name and delegate and announces it (OnLoopCreated); the answer enables
  // it. Call once, before the first post. Returns the enabled flag.
  int Register(const std::string& name, RefPtr<Delegate> delegate);

  // Queues `task` in `mode` (`delay_ms` is read for kDelayed only) and returns its id; the
  // first post starts the thread. On success the loop takes the reference out of `task`
  // (left null); when refused (loop not enabled or stopped, null task, thread not started)
  // it returns 0 and `task` is left as it was. Any thread.
  int Schedule(PostMode mode, uint32_t delay_ms, RefPtr<MsgTask>&& task);
  // MsgTask::Delegate: schedules `task` in mode kNext with a reference of the loop's own.
  int Reschedule(MsgTask* task) override;

  // Ends the thread and disposes of every task still held (see above). False when the loop was
  // not enabled or had no live thread; the loop refuses posts afterwards in every case.
  bool Stop();

  const std::string& name() const { return name_; }
  bool enabled() const { return enabled_.load(std::memory_order_acquire) != 0; }
  void set_enabled(int enabled);
  // True while the worker last found nothing to do.
  bool idle() const;
  // The worker thread's id; a default id when it has none.
  std::thread::id thread_id() const;

  // What the loop still holds, for tests and assertions.
  size_t pending_count() const;
  size_t delayed_count() const;

 protected:
  ~MessageLoop() override;

 private:
  struct Shared;

  bool EnsureThread();  // with control_lock_ held
  // Stop without the enabled test (also run by the destructor).
  bool Shutdown();

  std::shared_ptr<Shared> shared_;  // also held by the worker thread
  std::string name_;                // set once by Register, before the thread starts
  std::atomic<int> enabled_{0};
  std::atomic<int> serial_{0};

  // Serialises posts against Stop, so that a post either lands before the stop (and is disposed
  // of by it) or is refused; and guards the thread object.
  mutable std::mutex control_lock_;
  bool stopping_ = false;  // guarded by control_lock_
  ThreadBase thread_;      // guarded by control_lock_ (Stop's wait uses it after stopping_)
};

}  // namespace qv::core
