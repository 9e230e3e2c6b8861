// The UI thread's dispatcher on its message-only window: posting order from any thread, never
// inside Post, and work left when the loop ended destroyed unrun.
#include "ui/win32/win32_ui_dispatcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "ui_thread_loop.h"

namespace qv::ui::win32 {
namespace {

TEST(Win32UiDispatcherTest, RunsWorkOnTheUiThreadInPostingOrderNeverInsidePost) {
  Win32UiDispatcher dispatcher;
  ASSERT_TRUE(dispatcher.valid());
  const std::thread::id ui_thread = std::this_thread::get_id();
  std::vector<int> order;  // UI thread only
  bool all_on_ui_thread = true;

  dispatcher.Post([&] { order.push_back(0); });
  EXPECT_TRUE(order.empty());  // posted from the UI thread itself: still not run at once
  std::thread worker([&] {
    for (int i = 1; i <= 200; ++i) {
      dispatcher.Post([&, i] {
        all_on_ui_thread = all_on_ui_thread && std::this_thread::get_id() == ui_thread;
        order.push_back(i);
      });
    }
    dispatcher.Post([] { PostQuitMessage(7); });
  });
  EXPECT_EQ(test::RunMessageLoop(), 7);
  worker.join();

  ASSERT_EQ(order.size(), 201u);
  for (int i = 0; i <= 200; ++i) EXPECT_EQ(order[i], i);
  EXPECT_TRUE(all_on_ui_thread);
}

TEST(Win32UiDispatcherTest, WorkLeftWhenTheLoopEndedIsDestroyedUnrun) {
  auto owned = std::make_shared<int>(1);
  const std::weak_ptr<int> watch = owned;
  bool ran = false;
  {
    Win32UiDispatcher dispatcher;
    dispatcher.Post([] { PostQuitMessage(0); });
    EXPECT_EQ(test::RunMessageLoop(), 0);
    std::thread late([&dispatcher, &ran, owned = std::move(owned)]() mutable {
      dispatcher.Post([&ran, owned = std::move(owned)] { ran = true; });
    });
    late.join();
    EXPECT_FALSE(watch.expired());  // queued, holding what it owns
  }
  EXPECT_TRUE(watch.expired());
  // Its wake-up went with the window: nothing runs it later.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_FALSE(ran);

  // A dispatcher made afterwards on the same thread works as the first did.
  Win32UiDispatcher next;
  bool next_ran = false;
  next.Post([&] {
    next_ran = true;
    PostQuitMessage(0);
  });
  EXPECT_EQ(test::RunMessageLoop(), 0);
  EXPECT_TRUE(next_ran);
}

}  // namespace
}  // namespace qv::ui::win32
