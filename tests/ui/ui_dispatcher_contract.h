// What every core::UiDispatcher must do, checked the same way for each backend (the Qt event
// loop, the Win32 message-only window): work runs on the UI thread in posting order from any
// thread, never inside Post; work left when the loop ended is destroyed unrun, holding what it
// owns until then. The backend's test gives how its loop runs and is asked to end.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "core/ui_dispatcher.h"

namespace qv::test {

struct UiLoop {
  std::function<int()> run;                // runs the UI thread's loop until it is ended
  std::function<void(int code)> end;       // ends that loop with `code` (from inside it)
  std::function<void()> run_pending;       // handles what waits now, then returns
};

inline void ExpectPostingOrderOnTheUiThread(core::UiDispatcher& dispatcher, const UiLoop& loop) {
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
    dispatcher.Post([&loop] { loop.end(7); });
  });
  EXPECT_EQ(loop.run(), 7);
  worker.join();

  ASSERT_EQ(order.size(), 201u);
  for (int i = 0; i <= 200; ++i) EXPECT_EQ(order[i], i);
  EXPECT_TRUE(all_on_ui_thread);
}

// Each `Dispatcher` is made on the calling (UI) thread.
template <typename Dispatcher>
void ExpectWorkLeftAtTheEndDestroyedUnrun(const UiLoop& loop) {
  auto owned = std::make_shared<int>(1);
  const std::weak_ptr<int> watch = owned;
  bool ran = false;
  {
    Dispatcher dispatcher;
    dispatcher.Post([&loop] { loop.end(0); });
    EXPECT_EQ(loop.run(), 0);
    std::thread late([&dispatcher, &ran, owned = std::move(owned)]() mutable {
      dispatcher.Post([&ran, owned = std::move(owned)] { ran = true; });
    });
    late.join();
    EXPECT_FALSE(watch.expired());  // queued, holding what it owns
  }
  EXPECT_TRUE(watch.expired());
  loop.run_pending();  // its wake-up, if any is left, runs nothing
  EXPECT_FALSE(ran);
}

}  // namespace qv::test
