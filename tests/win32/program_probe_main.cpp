// A small program the process tests start for real, on Windows.
//
//   qv_program_probe wait       writes one byte to its standard output once it runs, then blocks
//                               until its standard input ends (a process to be found)
//   qv_program_probe [args...]  writes a report of how it was started to the named pipe named by
//                               QV_PROBE_REPORT: "cwd=" and the working folder, then one "arg="
//                               line per argument as the system splits the command line, all in
//                               UTF-8.
#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include <string>

#include "platform/win32/wide_text.h"

using qv::platform::win32::Utf8;

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 6;
  if (argc == 2 && std::wstring(argv[1]) == L"wait") {
    char buffer[64] = {'R'};
    DWORD count = 0;
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, 1, &count, nullptr)) return 5;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &count, nullptr) &&
           count > 0) {
    }
    return 0;
  }
  wchar_t report_path[512];
  if (GetEnvironmentVariableW(L"QV_PROBE_REPORT", report_path, 512) - 1u >= 511u) return 2;
  HANDLE report = CreateFileW(report_path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (report == INVALID_HANDLE_VALUE) return 3;
  std::wstring cwd(32768, L'\0');
  cwd.resize(GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), cwd.data()));
  std::string text = "cwd=" + Utf8(cwd) + "\n";
  for (int i = 1; i < argc; ++i) text += "arg=" + Utf8(argv[i]) + "\n";
  DWORD written = 0;
  const bool complete = WriteFile(report, text.data(), static_cast<DWORD>(text.size()), &written,
                                  nullptr) && written == text.size();
  CloseHandle(report);
  return complete ? 0 : 4;
}
