// Tasks and event recorders shared by the task-engine tests.
//
// Waits here are for events between threads (a task started, a callback arrived), never for
// time: each ends as soon as its event happens, and the generous bound only turns a hang into
// a failure.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/message_loop.h"
#include "core/message_loop_context.h"
#include "core/msg_task.h"
#include "platform/clock.h"

namespace qv::core::test {

inline constexpr int64_t kEventTimeoutMs = 30'000;

// A one-way gate between threads.
class Gate {
 public:
  void Open() { signal_.Raise(); }
  bool IsOpen() const { return signal_.IsRaised(); }
  // True when the gate opened (false only when the test is broken and would hang).
  bool Wait() const { return signal_.WaitForMs(kEventTimeoutMs); }

 private:
  platform::StopSignal signal_;
};

// What ran, in order, and on which thread.
class RunLog {
 public:
  void Add(const std::string& name) {
    std::lock_guard lock(mutex_);
    names_.push_back(name);
    threads_.push_back(std::this_thread::get_id());
    changed_.notify_all();
  }
  std::vector<std::string> Names() const {
    std::lock_guard lock(mutex_);
    return names_;
  }
  std::vector<std::thread::id> Threads() const {
    std::lock_guard lock(mutex_);
    return threads_;
  }
  bool WaitForCount(size_t count) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(kEventTimeoutMs),
                             [&] { return names_.size() >= count; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> names_;
  std::vector<std::thread::id> threads_;
};

// A task that logs its name when it runs, optionally after running `body`, and opens
// `destroyed` (when given) when it is freed.
class LoggingTask : public MsgTask {
 public:
  LoggingTask(std::string name, RunLog* log, std::function<void(LoggingTask&)> body = {},
              Gate* destroyed = nullptr)
      : name_(std::move(name)), log_(log), body_(std::move(body)), destroyed_(destroyed) {}

  bool Run() override {
    if (body_) body_(*this);
    if (log_) log_->Add(name_);
    return true;
  }
  const std::string& name() const { return name_; }

 protected:
  ~LoggingTask() override {
    if (destroyed_) destroyed_->Open();
  }

 private:
  const std::string name_;
  RunLog* const log_;
  const std::function<void(LoggingTask&)> body_;
  Gate* const destroyed_;
};

inline RefPtr<MsgTask> MakeTask(std::string name, RunLog* log,
                                std::function<void(LoggingTask&)> body = {},
                                Gate* destroyed = nullptr) {
  return MakeRef<LoggingTask>(std::move(name), log, std::move(body), destroyed);
}

// Records a loop's or registry's events. Usable as either kind of receiver.
class EventRecorder {
 public:
  struct Idle {
    std::string name;
    int flag;
    int64_t at_ms;  // the clock's time when the event arrived
  };

  void RecordIdle(std::string_view name, int flag) {
    std::lock_guard lock(mutex_);
    idle_.push_back({std::string(name), flag, platform::CurrentClock().NowMs()});
    changed_.notify_all();
  }
  void RecordDone(RefPtr<MsgTask> task) {
    std::lock_guard lock(mutex_);
    done_ids_.push_back(task ? task->task_id() : 0);
    if (keep_done_tasks_) done_.push_back(std::move(task));
    changed_.notify_all();
  }
  // Keep finished tasks (instead of releasing them at once) so that a test can inspect them.
  void KeepDoneTasks() { keep_done_tasks_ = true; }

  std::vector<Idle> IdleEvents() const {
    std::lock_guard lock(mutex_);
    return idle_;
  }
  std::vector<int> DoneIds() const {
    std::lock_guard lock(mutex_);
    return done_ids_;
  }
  std::vector<RefPtr<MsgTask>> TakeDoneTasks() {
    std::lock_guard lock(mutex_);
    return std::exchange(done_, {});
  }
  bool WaitForIdle(size_t count) const { return WaitFor([&] { return idle_.size() >= count; }); }
  bool WaitForDone(size_t count) const {
    return WaitFor([&] { return done_ids_.size() >= count; });
  }

 private:
  template <typename Pred>
  bool WaitFor(Pred pred) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(kEventTimeoutMs), pred);
  }

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<Idle> idle_;
  std::vector<int> done_ids_;
  std::vector<RefPtr<MsgTask>> done_;
  bool keep_done_tasks_ = false;  // set before the loop starts
};

// A loop delegate that records; OnLoopCreated enables the loop.
class RecordingLoopDelegate : public MessageLoop::Delegate {
 public:
  explicit RecordingLoopDelegate(EventRecorder* events) : events_(events) {}
  void OnLoopIdle(const std::string& name, int flag) override { events_->RecordIdle(name, flag); }
  int OnLoopCreated(const std::string&, MessageLoop*) override { return 1; }
  void OnTaskDone(RefPtr<MsgTask> task) override { events_->RecordDone(std::move(task)); }

 private:
  EventRecorder* const events_;
};

// The registry's client, recording.
class RecordingClient : public MessageLoopContext::Deletegate {
 public:
  explicit RecordingClient(EventRecorder* events) : events_(events) {}
  void OnLoopIdle(std::string_view name, int flag) override { events_->RecordIdle(name, flag); }
  void OnTaskDone(RefPtr<MsgTask> task) override { events_->RecordDone(std::move(task)); }

 private:
  EventRecorder* const events_;
};

}  // namespace qv::core::test
