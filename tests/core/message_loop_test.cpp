#include "core/message_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "core/thread_base.h"
#include "test_tasks.h"
#include "virtual_clock.h"

namespace qv::core {
namespace {

using qv::test::VirtualClock;
using test::EventRecorder;
using test::Gate;
using test::kEventTimeoutMs;
using test::LoggingTask;
using test::MakeTask;
using test::RecordingLoopDelegate;
using test::RunLog;
using Names = std::vector<std::string>;

constexpr char kLoopName[] = "msg_loop_test";

// A registered loop on a virtual clock, stopped and let go (with every thread it started
// ended) before the recorders it reports to are destroyed.
class MessageLoopTest : public ::testing::Test {
 protected:
  MessageLoopTest() : use_clock_(clock_), loop_(MakeRef<MessageLoop>()) {
    EXPECT_EQ(loop_->Register(kLoopName, MakeRef<RecordingLoopDelegate>(&events_)), 1);
  }
  ~MessageLoopTest() override {
    if (loop_) loop_->Stop();
    loop_.reset();
    ThreadBase::WaitUntilNoLiveThreads();
  }

  int Post(PostMode mode, RefPtr<MsgTask> task, uint32_t delay_ms = 0) {
    return loop_->Schedule(mode, delay_ms, std::move(task));
  }
  // Posts a task and waits until the loop, having run it, waits idle for its next poll.
  // (The new thread may also have reported idle once before the task arrived.)
  void StartAndSettle() {
    ASSERT_EQ(Post(PostMode::kNext, MakeTask("start", &log_)), 1);
    ASSERT_TRUE(events_.WaitForDone(1));
    clock_.AwaitTimedWaiters(1);
  }
  // The stopper's waits of one 100 ms step each.
  std::vector<VirtualClock::Sleep> StopWaits() const {
    std::vector<VirtualClock::Sleep> waits = clock_.Waits();
    std::erase_if(waits, [](const VirtualClock::Sleep& w) {
      return w.requested_ms != ThreadBase::kStopWaitStepMs;
    });
    return waits;
  }

  VirtualClock clock_;
  platform::ScopedClockOverride use_clock_;
  EventRecorder events_;
  RunLog log_;
  RefPtr<MessageLoop> loop_;
};

TEST_F(MessageLoopTest, QueuePostsRunInOrderAndANextPostMadeMeanwhileRunsBeforeThem) {
  Gate t1_running, release_t1;
  EXPECT_EQ(loop_->thread_id(), std::thread::id{});
  const int t1 = Post(PostMode::kQueue, MakeTask("T1", &log_, [&](LoggingTask& task) {
                        EXPECT_EQ(task.owner_thread(), std::this_thread::get_id());
                        t1_running.Open();
                        release_t1.Wait();
                      }));
  EXPECT_NE(loop_->thread_id(), std::thread::id{}) << "the first post starts the thread";
  const int t2 = Post(PostMode::kQueue, MakeTask("T2", &log_));
  const int t3 = Post(PostMode::kQueue, MakeTask("T3", &log_));
  ASSERT_TRUE(t1_running.Wait());
  const int t4 = Post(PostMode::kNext, MakeTask("T4", &log_));
  release_t1.Open();

  EXPECT_EQ((std::vector<int>{t1, t2, t3, t4}), (std::vector<int>{1, 2, 3, 4}));
  ASSERT_TRUE(events_.WaitForDone(4));
  EXPECT_EQ(log_.Names(), (Names{"T1", "T4", "T2", "T3"}));
  EXPECT_EQ(events_.DoneIds(), (std::vector<int>{1, 4, 2, 3}));
  for (std::thread::id thread : log_.Threads()) EXPECT_EQ(thread, loop_->thread_id());
}

TEST_F(MessageLoopTest, ATaskPostedAgainKeepsItsIdWhileNewTasksCountOn) {
  events_.KeepDoneTasks();
  ASSERT_EQ(Post(PostMode::kNext, MakeTask("A", &log_)), 1);
  ASSERT_TRUE(events_.WaitForDone(1));
  std::vector<RefPtr<MsgTask>> done = events_.TakeDoneTasks();
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0]->ref_count_for_testing(), 1) << "the loop hands its reference on, keeps none";
  EXPECT_EQ(done[0]->loop(), loop_.get());

  // A task that posts itself again through its loop, once.
  std::atomic<int> runs{0};
  EXPECT_EQ(Post(PostMode::kNext, MakeTask("R", &log_,
                                           [&](LoggingTask& task) {
                                             if (runs++ == 0) {
                                               EXPECT_EQ(task.loop()->Reschedule(&task), 2);
                                             }
                                           })),
            2);
  ASSERT_TRUE(events_.WaitForDone(3));
  EXPECT_EQ(Post(PostMode::kNext, std::move(done[0])), 1);
  EXPECT_EQ(Post(PostMode::kNext, MakeTask("B", &log_)), 3);
  ASSERT_TRUE(events_.WaitForDone(5));

  std::vector<int> ids = events_.DoneIds();
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (std::vector<int>{1, 1, 2, 2, 3}));
  EXPECT_EQ(runs, 2);
}

TEST_F(MessageLoopTest, AnIdleLoopReportsIdleWithItsNameAndFlagOneOncePerPoll) {
  StartAndSettle();
  const size_t settled = events_.IdleEvents().size();
  for (size_t poll = 1; poll <= 3; ++poll) {
    clock_.AwaitTimedWaiters(1);
    EXPECT_EQ(clock_.Waits().back().requested_ms, MessageLoop::kPollIntervalMs);
    clock_.Advance(MessageLoop::kPollIntervalMs);
    ASSERT_TRUE(events_.WaitForIdle(settled + poll));
  }
  std::vector<EventRecorder::Idle> idle = events_.IdleEvents();
  ASSERT_EQ(idle.size(), settled + 3) << "an idle loop reports only when its poll comes round";
  for (const EventRecorder::Idle& event : idle) {
    EXPECT_EQ(event.name, kLoopName);
    EXPECT_EQ(event.flag, 1);
  }
  idle.erase(idle.begin(), idle.begin() + static_cast<std::ptrdiff_t>(settled - 1));
  for (size_t i = 0; i < idle.size(); ++i) {
    EXPECT_EQ(idle[i].at_ms, static_cast<int64_t>(i) * MessageLoop::kPollIntervalMs);
  }
  EXPECT_TRUE(loop_->idle());
}

TEST_F(MessageLoopTest, RefusedPostsLeaveTheTaskWithTheCaller) {
  RefPtr<MsgTask> none;
  EXPECT_EQ(loop_->Schedule(PostMode::kNext, 0, std::move(none)), 0);

  auto unregistered = MakeRef<MessageLoop>();  // never enabled
  RefPtr<MsgTask> task = MakeTask("kept", &log_);
  EXPECT_EQ(unregistered->Schedule(PostMode::kNext, 0, std::move(task)), 0);
  EXPECT_EQ(unregistered->thread_id(), std::thread::id{}) << "no thread for a refused post";

  // A loop that never ran has no thread to stop, but refuses posts from then on all the same.
  EXPECT_FALSE(loop_->Stop());
  EXPECT_FALSE(loop_->enabled());
  EXPECT_EQ(loop_->Schedule(PostMode::kQueue, 0, std::move(task)), 0);

  ASSERT_TRUE(task);
  EXPECT_EQ(task->ref_count_for_testing(), 1);
  EXPECT_EQ(task->task_id(), 0);
  EXPECT_TRUE(log_.Names().empty());
}

TEST_F(MessageLoopTest, StoppingAnIdleLoopEndsItsThreadWithoutUsingTheAllowance) {
  StartAndSettle();
  EXPECT_TRUE(loop_->Stop());
  EXPECT_EQ(ThreadBase::LiveThreads(), 0) << "the worker was joined";
  for (const VirtualClock::Sleep& wait : StopWaits()) EXPECT_TRUE(wait.stopped);
  EXPECT_EQ(loop_->thread_id(), std::thread::id{});

  EXPECT_FALSE(loop_->Stop()) << "a second stop finds nothing to do";
  RefPtr<MsgTask> late = MakeTask("late", &log_);
  EXPECT_EQ(Post(PostMode::kNext, late), 0);
  EXPECT_EQ(log_.Names(), Names{"start"});
}

TEST_F(MessageLoopTest, StopAsksTheRunningTaskToEndAndDisposesOfItAndTheQueueWithoutTaskDone) {
  Gate running, long_destroyed, queued_destroyed;
  std::atomic<bool> asked_to_stop{false};
  Post(PostMode::kNext, MakeTask("long", &log_,
                                 [&](LoggingTask& task) {
                                   running.Open();
                                   // Long work that ends early on a stop request.
                                   asked_to_stop = task.stop_signal().WaitForMs(kEventTimeoutMs);
                                   EXPECT_EQ(task.state(), MsgTask::kStateStopRequested);
                                 },
                                 &long_destroyed));
  ASSERT_TRUE(running.Wait());
  Post(PostMode::kQueue, MakeTask("queued", &log_, {}, &queued_destroyed));
  Post(PostMode::kDelayed, MakeTask("timer", &log_), 1000);

  EXPECT_TRUE(loop_->Stop());
  EXPECT_TRUE(asked_to_stop);
  EXPECT_TRUE(long_destroyed.IsOpen()) << "released by its thread before the thread ended";
  EXPECT_TRUE(queued_destroyed.IsOpen());
  EXPECT_EQ(loop_->pending_count(), 0u);
  EXPECT_EQ(loop_->delayed_count(), 0u);
  for (const VirtualClock::Sleep& wait : StopWaits()) EXPECT_TRUE(wait.stopped);
  EXPECT_EQ(log_.Names(), Names{"long"});
  EXPECT_TRUE(events_.DoneIds().empty());
  EXPECT_EQ(Post(PostMode::kNext, MakeTask("late", &log_)), 0);
}

TEST_F(MessageLoopTest, ATaskThatIgnoresTheStopIsAbandonedAfterFifteenWaitsAndFreedByItsThread) {
  Gate running, release, destroyed;
  std::atomic<bool> asked_to_stop{false};
  Post(PostMode::kNext, MakeTask("stubborn", &log_,
                                 [&](LoggingTask& task) {
                                   running.Open();
                                   while (!release.IsOpen()) {  // works on, in steps
                                     if (task.stop_requested()) asked_to_stop = true;
                                     platform::CurrentClock().SleepMs(10);
                                   }
                                 },
                                 &destroyed));
  ASSERT_TRUE(running.Wait());

  EXPECT_TRUE(loop_->Stop());
  const std::vector<VirtualClock::Sleep> waits = StopWaits();
  EXPECT_EQ(waits.size(), static_cast<size_t>(ThreadBase::kStopWaits));
  for (const VirtualClock::Sleep& wait : waits) EXPECT_FALSE(wait.stopped);
  EXPECT_TRUE(asked_to_stop);
  EXPECT_FALSE(destroyed.IsOpen()) << "the stopper never touches an abandoned task";
  EXPECT_EQ(ThreadBase::LiveThreads(), 1);
  EXPECT_EQ(Post(PostMode::kNext, MakeTask("late", &log_)), 0);

  loop_.reset();  // the loop may go while its abandoned thread still runs
  release.Open();
  ASSERT_TRUE(destroyed.Wait());
  ThreadBase::WaitUntilNoLiveThreads();
  EXPECT_EQ(log_.Names(), Names{"stubborn"});
  EXPECT_TRUE(events_.DoneIds().empty());
}

TEST_F(MessageLoopTest, ALoopLetGoWithoutAStopEndsItsThreadAndReleasesWhatItHeld) {
  StartAndSettle();
  Gate timer_destroyed;
  ASSERT_EQ(Post(PostMode::kDelayed, MakeTask("timer", &log_, {}, &timer_destroyed), 1000), 2);
  loop_.reset();
  EXPECT_EQ(ThreadBase::LiveThreads(), 0);
  EXPECT_TRUE(timer_destroyed.IsOpen());
  EXPECT_EQ(log_.Names(), Names{"start"});
}

TEST_F(MessageLoopTest, ADelayedPostRunsOnlyOnceItsDelayHasPassed) {
  StartAndSettle();
  std::atomic<int64_t> ran_at{-1};
  ASSERT_EQ(Post(PostMode::kDelayed,
                 MakeTask("timer", &log_,
                          [&](LoggingTask& task) {
                            ran_at = platform::CurrentClock().NowMs();
                            EXPECT_EQ(task.delay_ms(), 200u);
                          }),
                 200),
            2);
  EXPECT_EQ(loop_->delayed_count(), 1u);
  for (int step = 0; step < 100 && log_.Names().size() < 2; ++step) {
    clock_.AwaitTimedWaiters(1);
    if (log_.Names().size() < 2) clock_.Advance(25);
  }
  ASSERT_TRUE(events_.WaitForDone(2));
  EXPECT_GE(ran_at, 200);
  EXPECT_EQ(events_.DoneIds(), (std::vector<int>{1, 2}));
  EXPECT_EQ(loop_->delayed_count(), 0u) << "a fired timer leaves the delayed queue";
}

}  // namespace
}  // namespace qv::core
