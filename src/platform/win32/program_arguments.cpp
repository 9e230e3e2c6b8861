#include "platform/program_arguments.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace qv::platform {

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(win32::Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace qv::platform
