#include "windows_command.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace qv::test {

using platform::win32::Handle;
using platform::win32::OwnHandle;

WindowsCommandResult RunWindowsCommand(const std::string& command_line) {
  WindowsCommandResult result;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) return result;
  const Handle reader = OwnHandle(read_end);
  Handle writer = OwnHandle(write_end);
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = nullptr;
  PROCESS_INFORMATION process{};
  std::wstring line = platform::win32::Wide(command_line);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return result;
  }
  const Handle process_handle = OwnHandle(process.hProcess);
  const Handle thread_handle = OwnHandle(process.hThread);
  writer.reset();  // the output ends when the program's copy closes

  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    result.output.append(buffer, got);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  result.exit_code = static_cast<int>(code);
  return result;
}

}  // namespace qv::test
