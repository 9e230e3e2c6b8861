// The single instance on Windows: the named mutex, and a second start's WM_COPYDATA reaching
// the running instance's main window, found by its class without regard to case.
#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <atomic>
#include <string>
#include <thread>

namespace qv::platform {
namespace {

// A name of the test's own (this process's id in it), so parallel runs never meet.
std::string TestIdentity() { return "QvorvaneTest" + std::to_string(GetCurrentProcessId()); }

TEST(MutexSingleInstanceTest, SecondAcquireOfTheNameIsRefusedUntilTheFirstEnds) {
  const std::string name = TestIdentity() + std::string(kInstanceNameSuffix);
  std::unique_ptr<SingleInstance> first;
  ASSERT_EQ(SingleInstance::Acquire(name, first), InstanceLockResult::kAcquired);
  ASSERT_NE(first, nullptr);
  std::unique_ptr<SingleInstance> second;
  EXPECT_EQ(SingleInstance::Acquire(name, second), InstanceLockResult::kHeldElsewhere);
  EXPECT_EQ(second, nullptr);
  first.reset();
  EXPECT_EQ(SingleInstance::Acquire(name, second), InstanceLockResult::kAcquired);
}

struct Received {
  std::atomic<int> copy_data{0};
  std::atomic<bool> all_zero{true};
};
Received* g_received = nullptr;  // the window procedure's one receiver, UI thread

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA && g_received != nullptr) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    const bool zero = wparam == 0 && data != nullptr && data->dwData == 0 && data->cbData == 0 &&
                      data->lpData == nullptr;
    g_received->all_zero = g_received->all_zero && zero;
    ++g_received->copy_data;
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TEST(MutexSingleInstanceTest, ShowRequestIsAnEmptyCopyDataToTheWindowOfTheIdentityClass) {
  const std::string identity = TestIdentity();
  const std::string name = identity + std::string(kInstanceNameSuffix);
  EXPECT_FALSE(SendShowRequest(name));  // no window of the class: nothing sent, no wait

  // The class differs from the identity text in case only, as the program's main window's does.
  std::wstring class_name(identity.begin(), identity.end());
  class_name[1] = L'V';
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = RecordingProcedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = class_name.c_str();
  ASSERT_NE(RegisterClassExW(&window_class), 0);
  HWND window = CreateWindowExW(0, class_name.c_str(), class_name.c_str(), WS_POPUP, 0, 0, 10, 10,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  Received received;
  g_received = &received;

  // The second start on another thread: its send waits until this thread has handled it.
  bool sent = false;
  std::thread second_start([&] { sent = SendShowRequest(name); });
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  second_start.join();
  g_received = nullptr;
  DestroyWindow(window);

  EXPECT_TRUE(sent);
  EXPECT_EQ(received.copy_data, 1);
  EXPECT_TRUE(received.all_zero);
}

}  // namespace
}  // namespace qv::platform
