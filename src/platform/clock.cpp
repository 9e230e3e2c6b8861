#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace qv::platform {

void StopSignal::Raise() {
  // Notified under the lock: a waiter may destroy the signal as soon as its wait returns, and
  // it cannot return before this lock is released, so the notify never touches a dead object.
  std::lock_guard lock(mutex_);
  raised_.store(true, std::memory_order_release);
  raised_cv_.notify_all();
}

bool StopSignal::WaitForMs(int64_t ms) const {
  std::unique_lock lock(mutex_);
  if (ms <= 0) return IsRaised();
  return raised_cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return IsRaised(); });
}

void WakeEvent::Set() {
  std::lock_guard lock(mutex_);  // notified under the lock, as in StopSignal::Raise
  set_.store(true, std::memory_order_release);
  set_cv_.notify_all();
}

void WakeEvent::Reset() {
  std::lock_guard lock(mutex_);
  set_.store(false, std::memory_order_release);
}

bool WakeEvent::WaitForMs(int64_t ms) const {
  std::unique_lock lock(mutex_);
  if (ms > 0) set_cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return IsSet(); });
  return IsSet();
}

namespace {

class MonotonicClock final : public Clock {
 public:
  int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  void SleepMs(int64_t ms) override {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }

  bool SleepUnlessStopped(int64_t ms, const StopSignal& stop) override {
    return !stop.WaitForMs(ms);
  }
};

std::atomic<Clock*> g_current_clock{nullptr};

}  // namespace

Clock& SystemClock() {
  static MonotonicClock clock;
  return clock;
}

Clock& CurrentClock() {
  Clock* clock = g_current_clock.load(std::memory_order_acquire);
  return clock ? *clock : SystemClock();
}

ScopedClockOverride::ScopedClockOverride(Clock& clock)
    : previous_(g_current_clock.exchange(&clock, std::memory_order_acq_rel)) {}

ScopedClockOverride::~ScopedClockOverride() {
  g_current_clock.store(previous_, std::memory_order_release);
}

}  // namespace qv::platform
