// The windows' shared native part: numbered messages posted from another thread reach the
// window's handler on the UI thread in posting order, and repaint requests coalesce into frames.
#include "ui/win32/native_window.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

#include "ui/win32/message_loop.h"
#include "ui/win32/window_classes.h"

namespace qv::ui::win32 {
namespace {

class RecordingHandler final : public NativeWindow::Handler {
 public:
  std::optional<LRESULT> OnWindowMessage(UINT message, WPARAM wparam, LPARAM) override {
    if (message < WM_USER || message >= WM_APP) return std::nullopt;
    on_ui_thread = on_ui_thread && std::this_thread::get_id() == ui_thread;
    received.emplace_back(message, wparam);
    if (wparam == kLast) PostQuitMessage(0);
    return 0;
  }
  Surface Compose() override {
    ++frames;
    Surface surface(32, 32);
    surface.Fill(PremultipliedPixel(255, 10, 20, 30));
    return surface;
  }
  void Presented() override { ++presented; }

  static constexpr WPARAM kLast = 300;
  const std::thread::id ui_thread = std::this_thread::get_id();
  bool on_ui_thread = true;
  std::vector<std::pair<UINT, WPARAM>> received;
  int frames = 0;
  int presented = 0;
};

TEST(NativeWindowTest, NumberedMessagesFromAnotherThreadArriveInPostingOrder) {
  ASSERT_TRUE(RegisterWindowClass(kProgressWindowClass));
  RecordingHandler handler;
  NativeWindow window(handler);
  ASSERT_TRUE(window.Create(kProgressWindowClass, L"test", WS_EX_TOOLWINDOW, WS_POPUP,
                            Rect{10, 10, 32, 32}, nullptr));
  const UINT numbers[] = {3024, 3025, 3026, 4024, 4025, 4026, 4027};
  std::thread worker([&] {
    for (WPARAM i = 1; i <= RecordingHandler::kLast; ++i) {
      window.Post(numbers[i % std::size(numbers)], i, 0);
    }
  });
  RunMessageLoop();
  worker.join();

  ASSERT_EQ(handler.received.size(), RecordingHandler::kLast);
  for (WPARAM i = 1; i <= RecordingHandler::kLast; ++i) {
    EXPECT_EQ(handler.received[i - 1], std::make_pair(numbers[i % std::size(numbers)], i));
  }
  EXPECT_TRUE(handler.on_ui_thread);
}

TEST(NativeWindowTest, RepaintRequestsCoalesceIntoOneLayeredFrame) {
  ASSERT_TRUE(RegisterWindowClass(kProgressWindowClass));
  RecordingHandler handler;
  NativeWindow window(handler);
  ASSERT_TRUE(window.Create(kProgressWindowClass, L"test", WS_EX_TOOLWINDOW, WS_POPUP,
                            Rect{10, 10, 32, 32}, nullptr));
  for (int i = 0; i < 5; ++i) window.Repaint();
  EXPECT_EQ(handler.frames, 0);  // never inside the request
  window.Post(WM_USER + 1, RecordingHandler::kLast, 0);  // queued behind the repaint
  RunMessageLoop();
  EXPECT_EQ(handler.frames, 1);
  EXPECT_EQ(handler.presented, 1);
  EXPECT_NE(GetWindowLongPtrW(window.handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

}  // namespace
}  // namespace qv::ui::win32
