// Starting a program on Windows: through the shell (ShellExecuteExW, default verb, window
// hidden), with the arguments joined into one parameter text that the program's own parsing
// (CommandLineToArgvW and the C runtime's rules) splits back into the same arguments.
#include "platform/program_start.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include "platform/win32/com_scope.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

// One argument as the C runtime reads it back: bare when it holds no blank, tab or quote;
// otherwise quoted, with each quote escaped and the backslashes before a quote (or before the
// closing quote) doubled.
std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

}  // namespace

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& working_folder) {
  if (program.empty()) return false;
  std::wstring parameters;
  for (const std::string& argument : arguments) {
    if (!parameters.empty()) parameters += L' ';
    parameters += QuoteArgument(win32::Wide(argument));
  }
  const std::wstring file = win32::Wide(program);
  const std::wstring folder = win32::Wide(working_folder);
  const win32::ComScope com;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_HIDE;
  if (!ShellExecuteExW(&info) || info.hProcess == nullptr) return false;
  CloseHandle(info.hProcess);  // nobody waits for the program
  return true;
}

}  // namespace qv::platform
