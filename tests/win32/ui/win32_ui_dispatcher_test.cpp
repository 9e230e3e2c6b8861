// The UI thread's dispatcher on its message-only window: posting order from any thread, never
// inside Post, and work left when the loop ended destroyed unrun.
#include "ui/win32/win32_ui_dispatcher.h"

#include <gtest/gtest.h>

#include "ui/win32/message_loop.h"
#include "ui_dispatcher_contract.h"

namespace qv::ui::win32 {
namespace {

const test::UiLoop kMessageLoop{[] { return RunMessageLoop(); },
                                [](int code) { PostQuitMessage(code); },
                                [] {
                                  MSG message;
                                  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                                    DispatchMessageW(&message);
                                  }
                                }};

TEST(Win32UiDispatcherTest, RunsWorkOnTheUiThreadInPostingOrderNeverInsidePost) {
  Win32UiDispatcher dispatcher;
  ASSERT_TRUE(dispatcher.valid());
  test::ExpectPostingOrderOnTheUiThread(dispatcher, kMessageLoop);
}

TEST(Win32UiDispatcherTest, WorkLeftWhenTheLoopEndedIsDestroyedUnrun) {
  test::ExpectWorkLeftAtTheEndDestroyedUnrun<Win32UiDispatcher>(kMessageLoop);

  // A dispatcher made afterwards on the same thread works as the first did.
  Win32UiDispatcher next;
  bool next_ran = false;
  next.Post([&] {
    next_ran = true;
    PostQuitMessage(0);
  });
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_TRUE(next_ran);
}

}  // namespace
}  // namespace qv::ui::win32
