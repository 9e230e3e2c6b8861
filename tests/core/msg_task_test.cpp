#include "core/msg_task.h"

#include <gtest/gtest.h>

#include <thread>

#include "test_tasks.h"
#include "virtual_clock.h"

namespace qv::core {
namespace {

using test::MakeTask;

TEST(MsgTaskTest, StartsUnpostedAndOnlyTheStopStateRaisesItsSignal) {
  RefPtr<MsgTask> task = MakeTask("t", nullptr);
  EXPECT_EQ(task->task_id(), 0);
  EXPECT_EQ(task->state(), 0);
  EXPECT_EQ(task->delay_ms(), 0u);
  EXPECT_EQ(task->loop(), nullptr);
  EXPECT_EQ(task->owner_thread(), std::thread::id{});

  task->SetState(7);
  EXPECT_EQ(task->state(), 7);
  EXPECT_FALSE(task->stop_requested());
  task->SetState(MsgTask::kStateStopRequested);
  EXPECT_EQ(task->state(), MsgTask::kStateStopRequested);
  EXPECT_TRUE(task->stop_signal().IsRaised());
  task->SetState(0);  // the request stays: a stop cannot be taken back
  EXPECT_TRUE(task->stop_requested());
}

TEST(MsgTaskTest, AWaitInsideATaskEndsWhenTheTaskIsAskedToStop) {
  RefPtr<MsgTask> task = MakeTask("t", nullptr);
  bool completed = true;
  std::thread sleeper([&] {
    completed = platform::SystemClock().SleepUnlessStopped(600'000, task->stop_signal());
  });
  task->SetState(MsgTask::kStateStopRequested);
  sleeper.join();  // would take ten minutes if the request did not end the wait
  EXPECT_FALSE(completed);

  // In virtual time too: a retry wait after the request does not happen at all.
  qv::test::VirtualClock clock;
  EXPECT_FALSE(clock.SleepUnlessStopped(1000, task->stop_signal()));
  EXPECT_EQ(clock.NowMs(), 0);
}

}  // namespace
}  // namespace qv::core
