// The one clock every sleep, wait and tick count of the program goes through.
//
// Production code asks CurrentClock(); tests install a virtual clock with ScopedClockOverride
// before they start any thread, so retry, probe and timer policies run in virtual time and their
// exact schedule of waits can be asserted instead of slept through.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace qv::platform {

// A one-way "please stop" flag that also wakes a thread sleeping on it.
// Thread-safe: any thread may raise it, test it or wait on it. It cannot be lowered again.
class StopSignal {
 public:
  StopSignal() = default;
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  void Raise();
  bool IsRaised() const { return raised_.load(std::memory_order_acquire); }

  // Blocks the caller for at most `ms` milliseconds of real time; returns true when the signal
  // was raised (before or during the wait).
  bool WaitForMs(int64_t ms) const;

 private:
  std::atomic<bool> raised_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable raised_cv_;
};

// A resettable wake-up flag: Set() wakes every thread waiting on it, Reset() lowers it again.
// Unlike StopSignal it can be used over and over, for "something new arrived, look again".
// Thread-safe: any thread may set, reset, test or wait on it.
class WakeEvent {
 public:
  WakeEvent() = default;
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const { return set_.load(std::memory_order_acquire); }

  // Blocks the caller for at most `ms` milliseconds of real time; returns true when the event is
  // set (before or during the wait). Timing policies wait through Clock::WaitForEvent instead.
  bool WaitForMs(int64_t ms) const;

 private:
  std::atomic<bool> set_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable set_cv_;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Monotonic milliseconds since an arbitrary start.
  virtual int64_t NowMs() = 0;

  // The system tick count: milliseconds, wrapping at 2^32 like the 32-bit counter the design's
  // durations and file-name stamps use.
  uint32_t TickCount() { return static_cast<uint32_t>(NowMs()); }

  virtual void SleepMs(int64_t ms) = 0;

  // Sleeps `ms` unless `stop` is raised first. Returns true when the whole wait elapsed, false
  // when it ended (or never began) because of the signal.
  virtual bool SleepUnlessStopped(int64_t ms, const StopSignal& stop) = 0;

  // Waits at most `ms` for `event` to be set. Returns true when it is set (the wait ends at once
  // then), false when the time ran out. Unlike a sleep, a virtual clock does not skip this wait:
  // it ends when the event is set or when the clock's time reaches the deadline, so an idle
  // poller in virtual time blocks instead of spinning.
  virtual bool WaitForEvent(int64_t ms, const WakeEvent& event) { return event.WaitForMs(ms); }
};

// The production clock (CLOCK_MONOTONIC). Lives for the whole process.
Clock& SystemClock();

// The clock in force: the system clock unless a test installed another.
Clock& CurrentClock();

// Installs `clock` as CurrentClock() for the lifetime of this object, then restores the previous
// one. Create and destroy it on the test's main thread while no other thread uses the clock.
class ScopedClockOverride {
 public:
  explicit ScopedClockOverride(Clock& clock);
  ~ScopedClockOverride();
  ScopedClockOverride(const ScopedClockOverride&) = delete;
  ScopedClockOverride& operator=(const ScopedClockOverride&) = delete;

 private:
  Clock* previous_;
};

}  // namespace qv::platform
