// The installer's two native windows over their views, on a virtual display: the classes and
// styles the system sees, the progress window owned and kept 13 px inside, numbered messages
// from a worker thread driving the progress view through its timers to the program's quit, and
// a second start in another process bringing hidden windows back by WM_COPYDATA.
// The loopback ports' header brings winsock2.h, which must come before windows.h.
#include "raw_ports.h"

#include "ui/win32/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "controller/window_messages.h"
#include "ui/win32/message_loop.h"

namespace qv::ui::win32 {
namespace {

constexpr int kNoFirstFrameWaitMs = 60 * 60 * 1000;  // the first frames alone start it

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

Rect ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return Rect::FromEdges(rect.left, rect.top, rect.right, rect.bottom);
}

// Serves the UI thread's messages until `process` ends; its exit code.
DWORD PumpUntilExit(HANDLE process) {
  while (MsgWaitForMultipleObjects(1, &process, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DWORD code = 99;
  GetExitCodeProcess(process, &code);
  return code;
}

class InstallerWindowsTest : public ::testing::Test {
 protected:
  // A main window whose installation start only quits the message loop; statistics go to a
  // loopback port nobody listens on.
  MainViewSetup WindowSetup() {
    MainViewSetup setup;
    setup.start_installation = [this](MainView&) {
      ++starts_;
      PostQuitMessage(0);
    };
    setup.first_frame_wait_ms = kNoFirstFrameWaitMs;
    setup.stats_base_url = "http://127.0.0.1:" + std::to_string(test::ClosedPort());
    return setup;
  }
  int starts_ = 0;
};

TEST_F(InstallerWindowsTest, BothWindowsAreLayeredPopupsOfTheirClassesTheProgressOneOwnedInside) {
  MainWindow window(WindowSetup(), nullptr);
  ASSERT_TRUE(window.Create());
  EXPECT_EQ(RunMessageLoop(), 0);  // both first frames reached the screen: the start ran
  EXPECT_EQ(starts_, 1);

  HWND main = window.handle();
  EXPECT_EQ(FindWindowW(L"QvorvaneDownloader", nullptr), main);  // class names ignore case
  EXPECT_EQ(ClassOf(main), L"QVorvaneDownloader");
  const LONG_PTR main_style = GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_NE(main_style & WS_POPUP, 0);
  EXPECT_NE(main_style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(main_style & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_NE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(ScreenRect(main).GetSize(), (Size{584, 410}));  // the frame picture's size
  EXPECT_TRUE(IsWindowVisible(main));

  ASSERT_NE(window.progress(), nullptr);
  HWND progress = window.progress()->handle();
  EXPECT_EQ(ClassOf(progress), L"QVorvaneClient");
  EXPECT_EQ(GetWindow(progress, GW_OWNER), main);
  const LONG_PTR progress_extended = GetWindowLongPtrW(progress, GWL_EXSTYLE);
  EXPECT_NE(progress_extended & WS_EX_LAYERED, 0);
  EXPECT_NE(progress_extended & WS_EX_TOOLWINDOW, 0);
  const Rect outer = ScreenRect(main);
  EXPECT_EQ(ScreenRect(progress), Rect::FromEdges(outer.left + 13, outer.top + 13,
                                                  outer.Right() - 13, outer.Bottom() - 13));
  EXPECT_TRUE(IsWindowVisible(progress));
}

// On screen, where the progress bar's track is drawn (an opaque picture, dark blue-grey), the
// progress window's pixel is seen, not the frame's panel beneath.
void ExpectProgressWindowOnTop(HWND progress_window) {
  const Rect progress = ScreenRect(progress_window);
  HDC screen = GetDC(nullptr);
  const COLORREF track = GetPixel(screen, progress.left + 100, progress.top + 350);
  ReleaseDC(nullptr, screen);
  EXPECT_NEAR(GetRValue(track), 61, 12);
  EXPECT_NEAR(GetGValue(track), 70, 12);
  EXPECT_NEAR(GetBValue(track), 77, 12);
}

TEST_F(InstallerWindowsTest, ProgressWindowShowsAboveTheFrame) {
  MainWindow window(WindowSetup(), nullptr);
  ASSERT_TRUE(window.Create());
  ASSERT_EQ(RunMessageLoop(), 0);
  ExpectProgressWindowOnTop(window.progress()->handle());
}

TEST_F(InstallerWindowsTest, StatusFromAWorkerThreadRunsTheRefreshAndTheFinishToTheQuit) {
  MainWindow window(WindowSetup(), nullptr);
  ASSERT_TRUE(window.Create());
  ASSERT_EQ(RunMessageLoop(), 0);
  ClientView* client = window.view().client();
  ASSERT_NE(client, nullptr);

  // As the controller reports from the installing task's thread: data first, then the message.
  std::thread worker([client] {
    client->UpdateStatus(0, 40, u"Downloading...");
    client->UpdateStatus(0, 100, u"Installation completed.");
  });
  worker.join();
  // The refresh shows the completion, the finish timer quits through the main window.
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(client->StatusLine(), u"Installation completed. 100%");
  EXPECT_EQ(client->ShownProgress(), 100);
  EXPECT_FALSE(client->TimerRunning(ClientView::kRefreshTimer));
}

TEST_F(InstallerWindowsTest, SecondStartInAnotherProcessBringsTheHiddenWindowsBack) {
  MainWindow window(WindowSetup(), nullptr);
  ASSERT_TRUE(window.Create());
  ASSERT_EQ(RunMessageLoop(), 0);
  HWND main = window.handle();
  HWND progress = window.progress()->handle();

  // The close button: to the tray (or minimised where the desktop has no tray).
  SendMessageW(main, controller::WM_CLOSE_TO_TRAY, 0, 0);
  ASSERT_FALSE(IsWindowVisible(main) && !IsIconic(main));

  wchar_t own_path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own_path, MAX_PATH);
  std::wstring helper(own_path, length);
  helper = helper.substr(0, helper.find_last_of(L"\\/") + 1) + L"qv_win32_show_request.exe";
  std::wstring command = L"\"" + helper + L"\" QvorvaneDownloaderapp_global_only_mutex";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(helper.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &started));
  CloseHandle(started.hThread);
  EXPECT_EQ(PumpUntilExit(started.hProcess), 0u);  // the running instance took the request
  CloseHandle(started.hProcess);

  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(IsWindowVisible(progress));
  ExpectProgressWindowOnTop(progress);
}

TEST_F(InstallerWindowsTest, OnlyThePicturesOfTheProgressWindowTakeTheMouse) {
  MainWindow window(WindowSetup(), nullptr);
  ASSERT_TRUE(window.Create());
  ASSERT_EQ(RunMessageLoop(), 0);
  HWND progress = window.progress()->handle();
  const Rect placed = ScreenRect(progress);
  const auto hit = [&](int x, int y) {
    return SendMessageW(progress, WM_NCHITTEST, 0,
                        MAKELPARAM(placed.left + x, placed.top + y));
  };
  const Rect close = Rect::FromEdges(placed.width - 23, 8, placed.width - 7, 24);
  EXPECT_EQ(hit(close.left + 8, close.top + 8), HTCLIENT);  // the close button's picture
  EXPECT_EQ(hit(100, 350), HTCLIENT);                      // the progress bar's track
  EXPECT_EQ(hit(20, 12), HTTRANSPARENT);  // the title's text: to the main window (drag strip)
  EXPECT_EQ(hit(250, 372), HTTRANSPARENT);  // the status line and the link's place
}

// The no-connection box as the user sees it, read and answered once its dialog is set up.
struct BoxSeen {
  std::wstring caption;
  std::wstring text;
  HWND owner = nullptr;
};
BoxSeen* g_box = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK AnswerBox(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && g_box != nullptr) {
    HWND box = call->hwnd;
    wchar_t text[256] = {};
    GetWindowTextW(box, text, 256);
    g_box->caption = text;
    GetDlgItemTextW(box, 0xFFFF, text, 256);  // the box's message text
    g_box->text = text;
    g_box->owner = GetWindow(box, GW_OWNER);
    g_box = nullptr;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

TEST_F(InstallerWindowsTest, NoConnectionShowsTheWarningBoxThenTheProgramQuits) {
  MainWindow window(WindowSetup(), nullptr);
  ASSERT_TRUE(window.Create());
  ASSERT_EQ(RunMessageLoop(), 0);

  BoxSeen seen;
  g_box = &seen;
  g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AnswerBox, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_hook, nullptr);
  std::thread network_check([&window] { window.view().ReportNoConnection(); });
  network_check.join();
  EXPECT_EQ(RunMessageLoop(), 0);  // the box was answered and the program quit
  UnhookWindowsHookEx(g_hook);
  g_box = nullptr;

  EXPECT_EQ(seen.caption, L"Setup - QVorvane ");
  EXPECT_EQ(seen.text,
            L"Can't connect to the Internet.\nPlease check your connection and try again.");
  EXPECT_EQ(seen.owner, window.handle());
  EXPECT_FALSE(IsWindowVisible(window.handle()));  // hidden before the box
}

TEST_F(InstallerWindowsTest, EndOfTheSessionStopsTheInstallation) {
  int stops = 0;
  MainWindow window(WindowSetup(), [&stops] { ++stops; });
  ASSERT_TRUE(window.Create());
  ASSERT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(SendMessageW(window.handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(stops, 0);  // asked only: the session may still go on
  SendMessageW(window.handle(), WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(stops, 0);
  SendMessageW(window.handle(), WM_CLOSE, 0, 0);  // the system's close: never ends anything
  EXPECT_TRUE(IsWindow(window.handle()));
  EXPECT_EQ(stops, 0);
  SendMessageW(window.handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(RunMessageLoop(), 0);  // and the message loop ends
}

}  // namespace
}  // namespace qv::ui::win32
