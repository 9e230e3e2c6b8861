#include "platform/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "virtual_clock.h"

namespace qv::platform {
namespace {

using test::VirtualClock;

TEST(ClockTest, OverrideInstallsAndRestoresTheCurrentClock) {
  EXPECT_EQ(&CurrentClock(), &SystemClock());
  VirtualClock outer(100), inner(200);
  {
    ScopedClockOverride use_outer(outer);
    EXPECT_EQ(CurrentClock().NowMs(), 100);
    {
      ScopedClockOverride use_inner(inner);
      EXPECT_EQ(CurrentClock().NowMs(), 200);
    }
    EXPECT_EQ(&CurrentClock(), &outer);
  }
  EXPECT_EQ(&CurrentClock(), &SystemClock());
}

TEST(ClockTest, TickCountWrapsAt32Bits) {
  VirtualClock clock((int64_t{1} << 32) - 10);
  EXPECT_EQ(clock.TickCount(), 4294967286u);
  clock.SleepMs(25);
  EXPECT_EQ(clock.TickCount(), 15u);
  EXPECT_EQ(static_cast<uint32_t>(clock.TickCount() - 4294967286u), 25u);  // durations survive
}

TEST(ClockTest, VirtualClockRecordsEverySleepAndAdvances) {
  VirtualClock clock(1000);
  StopSignal stop;
  clock.SleepMs(50);
  EXPECT_TRUE(clock.SleepUnlessStopped(500, stop));
  stop.Raise();
  EXPECT_FALSE(clock.SleepUnlessStopped(500, stop));  // a raised signal does not wait
  clock.Advance(7);
  EXPECT_EQ(clock.NowMs(), 1557);
  const std::vector<VirtualClock::Sleep> expected = {
      {50, 1000, false}, {500, 1050, false}, {500, 1550, true}};
  EXPECT_EQ(clock.Sleeps(), expected);
  EXPECT_EQ(clock.SleepDurations(), (std::vector<int64_t>{50, 500, 500}));
}

TEST(ClockTest, RaisingTheSignalWakesARealSleeperAtOnce) {
  StopSignal stop;
  bool completed = true;
  std::thread sleeper([&] { completed = SystemClock().SleepUnlessStopped(600'000, stop); });
  stop.Raise();
  sleeper.join();  // would take ten minutes if the signal did not wake it
  EXPECT_FALSE(completed);
  EXPECT_TRUE(stop.IsRaised());
  EXPECT_FALSE(SystemClock().SleepUnlessStopped(600'000, stop));
}

TEST(ClockTest, VirtualWaitForEventEndsOnTheEventOrWhenTheClockReachesItsDeadline) {
  VirtualClock clock(100);
  WakeEvent event;
  std::atomic<int> result{-1};
  std::thread timed_out([&] { result = clock.WaitForEvent(50, event) ? 1 : 0; });
  clock.AwaitTimedWaiters(1);
  clock.Advance(49);
  EXPECT_EQ(result, -1) << "the deadline is not reached yet, and the wait is not skipped";
  clock.Advance(1);
  timed_out.join();
  EXPECT_EQ(result, 0);

  std::thread woken([&] { result = clock.WaitForEvent(1000, event) ? 1 : 0; });
  clock.AwaitTimedWaiters(1);
  event.Set();
  woken.join();
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(clock.WaitForEvent(1000, event)) << "a set event does not wait";
  event.Reset();
  EXPECT_FALSE(event.IsSet());

  EXPECT_EQ(clock.NowMs(), 150) << "waits do not move the time";
  const std::vector<VirtualClock::Sleep> expected = {
      {50, 100, false}, {1000, 150, true}, {1000, 150, true}};
  EXPECT_EQ(clock.Waits(), expected);
  EXPECT_TRUE(clock.Sleeps().empty());
}

TEST(ClockTest, TheSystemClockWaitsForAnEventInRealTime) {
  WakeEvent event;
  EXPECT_FALSE(SystemClock().WaitForEvent(1, event));
  std::thread setter([&] { event.Set(); });
  EXPECT_TRUE(SystemClock().WaitForEvent(600'000, event));  // woken, not ten minutes later
  setter.join();
}

TEST(ClockTest, SystemClockIsMonotonic) {
  const int64_t before = SystemClock().NowMs();
  SystemClock().SleepMs(2);
  EXPECT_GE(SystemClock().NowMs(), before + 2);
}

}  // namespace
}  // namespace qv::platform
