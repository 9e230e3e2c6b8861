#include "core/message_loop_context.h"

#include <gtest/gtest.h>

#include <atomic>

#include "core/thread_base.h"
#include "test_tasks.h"
#include "test_ui_thread.h"
#include "virtual_clock.h"

namespace qv::core {
namespace {

using qv::test::VirtualClock;
using test::EventRecorder;
using test::Gate;
using test::LoggingTask;
using test::MakeTask;
using test::RecordingClient;
using test::RunLog;
using Names = std::vector<std::string>;

// A registry of the test's own on a virtual clock, with a recording client. Teardown stops
// everything and checks that the registry is left holding only the test's reference.
class MessageLoopContextTest : public ::testing::Test {
 protected:
  MessageLoopContextTest() : use_clock_(clock_), context_(MakeRef<MessageLoopContext>()) {
    context_->set_client(&client_);
  }
  ~MessageLoopContextTest() override {
    context_->StopAll();
    ThreadBase::WaitUntilNoLiveThreads();
    EXPECT_EQ(context_->ref_count_for_testing(), 1) << "every loop let the registry go";
  }

  VirtualClock clock_;
  platform::ScopedClockOverride use_clock_;
  EventRecorder events_;
  RecordingClient client_{&events_};
  RunLog log_;
  RefPtr<MessageLoopContext> context_;
};

TEST_F(MessageLoopContextTest, CreatingTheSameNameTwiceKeepsOneLoop) {
  EXPECT_EQ(context_->CreateLoop("msg_loop_prepare"), 1);
  EXPECT_EQ(context_->PostTask("msg_loop_prepare", MakeTask("first", &log_)), 1);
  EXPECT_EQ(context_->CreateLoop("msg_loop_prepare"), 1);
  // The same loop: its serial numbers go on instead of starting again.
  EXPECT_EQ(context_->PostTask("msg_loop_prepare", MakeTask("second", &log_)), 2);
  ASSERT_TRUE(events_.WaitForDone(2));

  EXPECT_EQ(context_->CreateLoop(""), 0);
  EXPECT_FALSE(context_->HasLoop(""));
}

TEST_F(MessageLoopContextTest, PostsToUnknownNamesAndAfterStopAllLeaveTheTaskWithTheCaller) {
  ASSERT_EQ(context_->CreateLoop("msg_loop_checknet"), 1);
  RefPtr<MsgTask> task = MakeTask("kept", &log_);
  EXPECT_EQ(context_->PostTask("msg_loop_never_made", std::move(task)), 0);
  ASSERT_TRUE(task);

  context_->StopAll();
  EXPECT_FALSE(context_->HasLoop("msg_loop_checknet"));
  EXPECT_EQ(context_->PostTask("msg_loop_checknet", std::move(task)), 0);
  ASSERT_TRUE(task);
  EXPECT_EQ(task->ref_count_for_testing(), 1);
  EXPECT_EQ(task->task_id(), 0);
  EXPECT_TRUE(log_.Names().empty());
}

TEST_F(MessageLoopContextTest, UnregisteringANameLetsItsLoopGo) {
  ASSERT_EQ(context_->CreateLoop("msg_loop_gamebag"), 1);
  ASSERT_EQ(context_->PostTask("msg_loop_gamebag", MakeTask("t", &log_)), 1);
  ASSERT_TRUE(events_.WaitForDone(1));
  EXPECT_EQ(context_->UnregisterLoop("msg_loop_gamebag"), 1);
  EXPECT_EQ(ThreadBase::LiveThreads(), 0) << "the loop was stopped when its entry went";
  EXPECT_EQ(context_->UnregisterLoop("msg_loop_gamebag"), 0);
  EXPECT_EQ(context_->PostTask("msg_loop_gamebag", MakeTask("late", &log_)), 0);
}

TEST_F(MessageLoopContextTest, TheClientReceivesIdleAndTaskDoneEventsOnTheWorkerThread) {
  ASSERT_EQ(context_->CreateLoop("msg_loop_checknet"), 1);
  std::atomic<std::thread::id> worker;
  ASSERT_EQ(context_->PostTask("msg_loop_checknet",
                               MakeTask("probe", &log_,
                                        [&](LoggingTask&) { worker = std::this_thread::get_id(); })),
            1);
  ASSERT_TRUE(events_.WaitForDone(1));
  ASSERT_TRUE(events_.WaitForIdle(1));
  EXPECT_EQ(events_.DoneIds(), std::vector<int>{1});
  const EventRecorder::Idle idle = events_.IdleEvents().back();
  EXPECT_EQ(idle.name, "msg_loop_checknet");
  EXPECT_EQ(idle.flag, 1);
  EXPECT_NE(worker.load(), std::this_thread::get_id());
}

TEST_F(MessageLoopContextTest, WithoutAClientAFinishedTaskIsReleased) {
  context_->set_client(nullptr);
  ASSERT_EQ(context_->CreateLoop("msg_loop_prepare"), 1);
  Gate destroyed;
  ASSERT_EQ(context_->PostTask("msg_loop_prepare", MakeTask("t", &log_, {}, &destroyed)), 1);
  EXPECT_TRUE(destroyed.Wait());
}

// Each loop runs a task that ends when asked to stop and logs which loop was asked; the
// loops must be asked one after another in name order, then the pause, then the main loop.
TEST_F(MessageLoopContextTest, StopAllStopsLoopsInNameOrderThenPausesThenStopsTheMainLoop) {
  test::TestUiThread ui;
  context_->main_loop().Start(ui, ui.id());
  RunLog stopped;
  const Names creation_order = {"msg_loop_prepare", "msg_loop_checknet", "msg_loop_gamebag"};
  for (const std::string& name : creation_order) {
    ASSERT_EQ(context_->CreateLoop(name), 1);
    Gate running;
    ASSERT_EQ(context_->PostTask(name, MakeTask(name, &log_,
                                                [&running, &stopped, name](LoggingTask& task) {
                                                  running.Open();
                                                  if (task.stop_signal().WaitForMs(
                                                          test::kEventTimeoutMs)) {
                                                    stopped.Add(name);
                                                  }
                                                })),
              1);
    ASSERT_TRUE(running.Wait());
  }
  clock_.ClearSleeps();

  context_->StopAll();
  EXPECT_EQ(stopped.Names(), (Names{"msg_loop_checknet", "msg_loop_gamebag", "msg_loop_prepare"}));
  EXPECT_TRUE(events_.DoneIds().empty()) << "tasks ended by a stop get no OnTaskDone";
  EXPECT_EQ(clock_.SleepDurations(), std::vector<int64_t>{MessageLoopContext::kStopAllPauseMs});
  EXPECT_FALSE(context_->main_loop().started());
  EXPECT_EQ(context_->main_loop().PostTask(MakeTask("late", &log_)), 0);
  for (const std::string& name : creation_order) {
    EXPECT_EQ(context_->PostTask(name, MakeTask("late", &log_)), 0);
  }
}

TEST_F(MessageLoopContextTest, StopAllWithNoLoopsOnlyPausesAndStopsTheMainLoop) {
  test::TestUiThread ui;
  context_->main_loop().Start(ui, ui.id());
  context_->StopAll();
  EXPECT_EQ(clock_.SleepDurations(), std::vector<int64_t>{MessageLoopContext::kStopAllPauseMs});
  EXPECT_FALSE(context_->main_loop().started());
}

TEST(MessageLoopContextInstanceTest, TheProcessHasOneRegistry) {
  EXPECT_EQ(&MessageLoopContext::Instance(), &MessageLoopContext::Instance());
}

}  // namespace
}  // namespace qv::core
