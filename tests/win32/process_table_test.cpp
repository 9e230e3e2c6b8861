// The process table on Windows: a real child under the client's image name is listed by that
// name and ended by the table; ids that are not one process are refused.
#include "platform/process_table.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <algorithm>

#include "platform/executable_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

class ProcessTableTest : public test::WindowsTempFolderTest {};

// A console program that waits for its standard input, under the given file name: a copy of the
// prefix's cmd.exe running "pause".
struct WaitingProgram {
  win32::Handle process;
  win32::Handle input;  // the program waits until this closes
  DWORD pid = 0;
};

WaitingProgram StartWaitingProgram(const std::string& path) {
  WaitingProgram program;
  wchar_t system_folder[MAX_PATH];
  GetSystemDirectoryW(system_folder, MAX_PATH);
  const std::wstring cmd = std::wstring(system_folder) + L"\\cmd.exe";
  if (!CopyFileW(cmd.c_str(), win32::Wide(path).c_str(), FALSE)) return program;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) return program;
  const win32::Handle child_input = win32::OwnHandle(read_end);
  program.input = win32::OwnHandle(write_end);
  SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = read_end;
  std::wstring line = L"\"" + win32::Wide(path) + L"\" /c pause";
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &info)) {
    program.process = win32::OwnHandle(info.hProcess);
    CloseHandle(info.hThread);
    program.pid = info.dwProcessId;
  }
  return program;
}

TEST_F(ProcessTableTest, ListsProcessesByTheirFileNameAndEndsOne) {
  const WaitingProgram child = StartWaitingProgram(root_.Path("QVorvane.exe"));
  ASSERT_TRUE(child.process);

  const auto snapshot = SystemProcessTable().Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  const auto listed = [&](DWORD pid) {
    return std::find_if(snapshot->begin(), snapshot->end(), [pid](const ProcessEntry& entry) {
      return entry.pid == static_cast<pid_t>(pid);
    });
  };
  ASSERT_NE(listed(child.pid), snapshot->end());
  EXPECT_EQ(listed(child.pid)->image_name, "QVorvane.exe");
  ASSERT_NE(listed(GetCurrentProcessId()), snapshot->end());
  EXPECT_EQ(listed(GetCurrentProcessId())->image_name, "qv_win32_platform_tests.exe");
  EXPECT_TRUE(std::is_sorted(snapshot->begin(), snapshot->end(),
                             [](const ProcessEntry& a, const ProcessEntry& b) { return a.pid < b.pid; }));

  EXPECT_FALSE(SystemProcessTable().Terminate(0));
  EXPECT_FALSE(SystemProcessTable().Terminate(-1));
  EXPECT_TRUE(SystemProcessTable().Terminate(static_cast<pid_t>(child.pid)));
  ASSERT_EQ(WaitForSingleObject(child.process.get(), 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(child.process.get(), &code);
  EXPECT_EQ(code, 1u);
  // Ended, its object still held by the handle here: no longer listed, nothing to end.
  EXPECT_FALSE(SystemProcessTable().Terminate(static_cast<pid_t>(child.pid)));
  const auto after = SystemProcessTable().Snapshot();
  ASSERT_TRUE(after.has_value());
  EXPECT_TRUE(std::none_of(after->begin(), after->end(), [&](const ProcessEntry& entry) {
    return entry.pid == static_cast<pid_t>(child.pid);
  }));
}

TEST(ExecutablePathTest, IsTheWholePathOfTheRunningProgram) {
  const std::string path = ExecutablePath();
  EXPECT_TRUE(path.ends_with("\\qv_win32_platform_tests.exe")) << path;
  EXPECT_EQ(path.find('/'), std::string::npos) << path;
  EXPECT_NE(GetFileAttributesW(win32::Wide(path).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace qv::platform
