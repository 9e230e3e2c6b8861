#include "core/message_loop.h"

#include <algorithm>
#include <utility>

#include "core/delayed_task_queue.h"
#include "core/task_queue.h"

namespace qv::core {

// Everything the worker thread uses. Held by the loop and by its thread, so that an abandoned
// worker finishes with it even after the loop is gone.
struct MessageLoop::Shared {
  TaskQueue pending;
  DelayedTaskQueue delayed;
  platform::WakeEvent wake;  // set by every post and by Stop
  std::atomic<int> idle{1};

  // Held while a task enters or leaves the running slot, and by Stop while it looks at it.
  std::mutex finish_lock;
  MsgTask* running = nullptr;  // guarded by finish_lock; the worker holds its reference

  std::mutex events_lock;
  std::string name;                      // guarded by events_lock
  RefPtr<MessageLoop::Delegate> events;  // guarded by events_lock

  std::pair<std::string, RefPtr<MessageLoop::Delegate>> Events() {
    std::lock_guard lock(events_lock);
    return {name, events};
  }

  // Fired timers: out of the delayed queue first, then queued to run next.
  void FireDueTimers() {
    for (RefPtr<MsgTask>& task : delayed.TakeDue(platform::CurrentClock().NowMs())) {
      pending.PushBack(std::move(task));
    }
  }

  // How long the worker may wait before it must look again: the poll interval, or less when a
  // timer falls due sooner.
  int64_t NextWaitMs() const {
    int64_t wait = kPollIntervalMs;
    if (const auto due = delayed.NextDueMs()) {
      wait = std::clamp<int64_t>(*due - platform::CurrentClock().NowMs(), 0, wait);
    }
    return wait;
  }

  // Runs one task and hands it on. A task that ends after a stop was requested belongs to the
  // stop: it is released here, without OnTaskDone, whether the stopper still waits for this
  // thread or has abandoned it. Returns false in that case.
  bool RunOne(RefPtr<MsgTask> task, const platform::StopSignal& stop) {
    idle.store(0, std::memory_order_release);
    task->Run();
    {
      std::lock_guard lock(finish_lock);
      running = nullptr;
      if (stop.IsRaised()) return false;
    }
    auto [loop_name, delegate] = Events();
    if (delegate) delegate->OnTaskDone(std::move(task));
    return true;
  }

  void Work(const platform::StopSignal& stop) {
    while (!stop.IsRaised()) {
      // Lowered before looking, so a post made after the look still ends the wait below.
      wake.Reset();
      FireDueTimers();
      RefPtr<MsgTask> task;
      {
        std::lock_guard lock(finish_lock);
        if (stop.IsRaised()) return;
        task = pending.TakeBack();
        running = task.get();
      }
      if (task) {
        if (!RunOne(std::move(task), stop)) return;
        continue;  // look again at once: waiting is for a loop with nothing to do
      }
      idle.store(1, std::memory_order_release);
      auto [loop_name, delegate] = Events();
      if (delegate) delegate->OnLoopIdle(loop_name, kIdleFlag);
      // Ends early when something is posted (or the loop is stopped) after the look above.
      platform::CurrentClock().WaitForEvent(NextWaitMs(), wake);
    }
  }
};

MessageLoop::MessageLoop() : shared_(std::make_shared<Shared>()) {}

MessageLoop::~MessageLoop() {
  // The registry always stops a loop before it lets it go; this covers a loop released
  // without that (or disabled by hand), so that no worker keeps running for nothing.
  Shutdown();
}

int MessageLoop::Register(const std::string& name, RefPtr<Delegate> delegate) {
  name_ = name;
  {
    std::lock_guard lock(shared_->events_lock);
    shared_->name = name;
    shared_->events = delegate;
  }
  set_enabled(delegate ? delegate->OnLoopCreated(name, this) : 0);
  return enabled_.load(std::memory_order_acquire);
}

void MessageLoop::set_enabled(int enabled) { enabled_.store(enabled, std::memory_order_release); }

bool MessageLoop::idle() const { return shared_->idle.load(std::memory_order_acquire) != 0; }

std::thread::id MessageLoop::thread_id() const {
  std::lock_guard lock(control_lock_);
  return stopping_ ? std::thread::id{} : thread_.thread_id();
}

size_t MessageLoop::pending_count() const { return shared_->pending.Size(); }
size_t MessageLoop::delayed_count() const { return shared_->delayed.Size(); }

bool MessageLoop::EnsureThread() {
  if (thread_.IsRunning()) return true;
  return thread_.Start(
      [shared = shared_](const platform::StopSignal& stop) { shared->Work(stop); });
}

int MessageLoop::Schedule(PostMode mode, uint32_t delay_ms, RefPtr<MsgTask>&& task) {
  std::lock_guard lock(control_lock_);
  if (stopping_ || !enabled() || !task || !EnsureThread()) return 0;
  const int id_if_none = task->task_id() == 0 ? serial_.fetch_add(1) + 1 : 0;
  task->RecordPost(this, id_if_none, thread_.thread_id());
  const int id = task->task_id();
  switch (mode) {
    case PostMode::kQueue:
      shared_->pending.PushFront(std::move(task));
      break;
    case PostMode::kDelayed:
      task->set_delay_ms(delay_ms);
      shared_->delayed.Add(platform::CurrentClock().NowMs() + delay_ms, std::move(task));
      break;
    case PostMode::kNext:
    default:
      shared_->pending.PushBack(std::move(task));
      break;
  }
  shared_->idle.store(0, std::memory_order_release);
  shared_->wake.Set();
  return id;
}

int MessageLoop::Reschedule(MsgTask* task) {
  RefPtr<MsgTask> own(task);
  return Schedule(PostMode::kNext, 0, std::move(own));
}

bool MessageLoop::Stop() {
  if (!enabled()) return false;
  return Shutdown();
}

bool MessageLoop::Shutdown() {
  {
    std::lock_guard lock(control_lock_);
    if (stopping_) return false;
    stopping_ = true;
  }
  set_enabled(0);
  if (!thread_.IsRunning()) return false;  // what is queued is released with the loop

  // Raised before the running task is looked at: from here on the worker starts no task, and
  // the task it finishes is released by the worker without OnTaskDone (see Shared::RunOne).
  thread_.RequestStop();
  {
    std::lock_guard lock(shared_->finish_lock);
    if (shared_->running) shared_->running->SetState(MsgTask::kStateStopRequested);
  }
  shared_->wake.Set();
  // Ended or abandoned, the worker is not touched again; neither is its task.
  thread_.AwaitEnd();
  // Released here, outside every lock: task destructors may do anything.
  shared_->pending.TakeAll();
  shared_->delayed.TakeAll();
  return true;
}

}  // namespace qv::core
