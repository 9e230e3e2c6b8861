// ThreadBase: one restartable thread with a start handshake and a bounded stop.
//
// Threads: the owner (a loop) calls Start, RequestStop, AwaitEnd and Stop, and serialises those
// calls itself; the body runs on the new thread. Start returns once the new thread has begun.
//
// Stopping is cooperative: RequestStop raises the StopSignal that the body was given, AwaitEnd
// waits at most kStopWaits x kStopWaitStepMs (through the clock) for the body to return. A
// thread that ended is joined. One that still runs is abandoned: detached and never touched
// again. That is why the body must own (share) everything it uses: after an abandoning stop it
// outlives this object, and whatever it shares stays alive until it returns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/clock.h"

namespace qv::core {

class ThreadBase {
 public:
  // A thread that does not end when asked is waited for 15 x 100 ms, then abandoned.
  static constexpr int kStopWaits = 15;
  static constexpr int64_t kStopWaitStepMs = 100;
  // How long Start waits for the new thread to signal that it began (real time).
  static constexpr int64_t kStartTimeoutMs = 30000;

  enum class StopOutcome { kNoThread, kEnded, kAbandoned };

  using Body = std::function<void(const platform::StopSignal& stop)>;

  ThreadBase() = default;
  // Joins a thread that ended; a thread still running here was abandoned and is let go.
  ~ThreadBase();
  ThreadBase(const ThreadBase&) = delete;
  ThreadBase& operator=(const ThreadBase&) = delete;

  // Starts a new thread running `body` (after joining an earlier one that has ended). True when
  // the thread began within kStartTimeoutMs; false when it could not be created. Returns true
  // at once when a thread is already running.
  bool Start(Body body);
  // True from a successful Start until the body returned.
  bool IsRunning() const;
  // The running thread's id; a default id when there is none.
  std::thread::id thread_id() const { return thread_id_; }

  // Raises the stop signal given to the body. Does not wait.
  void RequestStop();
  // Waits for the body to return, as described above. Clears the thread id.
  StopOutcome AwaitEnd();
  // RequestStop, then AwaitEnd.
  StopOutcome Stop();

  // Threads started by any ThreadBase whose body has not yet returned and released what it
  // shared (abandoned ones included). For an orderly exit and for tests.
  static int LiveThreads();
  // Blocks until LiveThreads() is 0.
  static void WaitUntilNoLiveThreads();

 private:
  // Shared by this object and its thread, so an abandoned thread never refers back to us.
  struct Handshake {
    platform::WakeEvent started;
    platform::WakeEvent ended;
    platform::StopSignal stop;
  };

  std::thread thread_;
  std::shared_ptr<Handshake> handshake_;
  std::thread::id thread_id_;
};

}  // namespace qv::core
