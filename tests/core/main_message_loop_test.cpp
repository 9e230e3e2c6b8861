#include "core/main_message_loop.h"

#include <gtest/gtest.h>

#include <memory>

#include "test_tasks.h"
#include "test_ui_thread.h"

namespace qv::core {
namespace {

using test::Gate;
using test::MakeTask;
using test::RunLog;
using test::TestUiThread;
using Names = std::vector<std::string>;

TEST(MainMessageLoopTest, TasksRunOnTheUiThreadInPostingOrderOnceStarted) {
  RunLog log;
  TestUiThread ui;
  MainMessageLoop loop;
  Gate first_destroyed;

  EXPECT_EQ(loop.PostTask(MakeTask("before-1", &log, {}, &first_destroyed)), 1);
  EXPECT_EQ(loop.PostTask(MakeTask("before-2", &log)), 2);
  ui.Flush();
  EXPECT_TRUE(log.Names().empty()) << "nothing runs before Start";
  EXPECT_EQ(loop.queued_count(), 2u);

  loop.Start(ui, ui.id());
  EXPECT_TRUE(loop.started());
  EXPECT_EQ(loop.PostTask(MakeTask("after", &log, [&](test::LoggingTask& task) {
              EXPECT_EQ(task.owner_thread(), ui.id());
            })),
            3);
  ASSERT_TRUE(log.WaitForCount(3));
  EXPECT_EQ(log.Names(), (Names{"before-1", "before-2", "after"}));
  for (std::thread::id thread : log.Threads()) EXPECT_EQ(thread, ui.id());
  EXPECT_TRUE(first_destroyed.Wait()) << "a task is released after its Run";
  ui.Flush();
  EXPECT_EQ(loop.queued_count(), 0u);
  loop.Stop();
}

// A delivery that reaches the UI thread after the loop stopped (or was destroyed) finds no
// task: the task was released unrun, exactly once.
TEST(MainMessageLoopTest, StopReleasesTasksWhoseDeliveryHasNotRunAndRefusesLaterPosts) {
  for (const bool destroy : {false, true}) {
    SCOPED_TRACE(destroy ? "loop destroyed" : "loop stopped");
    RunLog log;
    TestUiThread ui;
    auto loop = std::make_unique<MainMessageLoop>();
    loop->Start(ui, ui.id());
    Gate ui_busy, release_ui, destroyed;
    ui.Post([&] {
      ui_busy.Open();
      release_ui.Wait();
    });
    ASSERT_TRUE(ui_busy.Wait());
    EXPECT_EQ(loop->PostTask(MakeTask("unrun", &log, {}, &destroyed)), 1);

    if (destroy) {
      loop.reset();
    } else {
      loop->Stop();
      EXPECT_FALSE(loop->started());
      RefPtr<MsgTask> late = MakeTask("late", &log);
      EXPECT_EQ(loop->PostTask(std::move(late)), 0);
      ASSERT_TRUE(late) << "a refused task stays with the caller";
      EXPECT_EQ(late->ref_count_for_testing(), 1);
    }
    EXPECT_TRUE(destroyed.IsOpen());
    release_ui.Open();
    ui.Flush();
    EXPECT_TRUE(log.Names().empty());
  }
}

TEST(MainMessageLoopTest, StartThenStopWithNothingQueuedDeliversNothing) {
  RunLog log;
  TestUiThread ui;
  MainMessageLoop loop;
  loop.Start(ui, ui.id());
  loop.Stop();
  loop.Start(ui, ui.id());  // never started twice
  EXPECT_FALSE(loop.started());
  EXPECT_EQ(loop.PostTask(MakeTask("late", &log)), 0);
  ui.Flush();
  EXPECT_TRUE(log.Names().empty());
}

}  // namespace
}  // namespace qv::core
