#include "util/programs.h"

#include <vector>

#include "platform/executable_path.h"
#include "platform/program_start.h"
#include "util/command_line.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"

namespace qv::util {

pid_t FindProcess(std::u16string_view name, const platform::ProcessTable& processes) {
  const auto snapshot = processes.Snapshot();
  if (!snapshot) return 0;
  const std::string wanted = WideToUtf8(name);
  for (const auto& process : *snapshot) {
    if (process.image_name == wanted) return process.pid;
  }
  return 0;
}

pid_t FindProcess(std::u16string_view name) {
  return FindProcess(name, platform::SystemProcessTable());
}

bool RunProgram(std::u16string_view file, std::u16string_view parameters,
                std::u16string_view folder) {
  std::vector<std::string> arguments;
  for (const auto& argument : SplitCommandLine(parameters)) {
    arguments.push_back(WideToUtf8(argument));
  }
  const std::string working_folder = folder.empty() ? std::string() : ToPlatformPath(folder);
  return platform::StartProgram(ToPlatformPath(file), arguments, working_folder);
}

std::u16string ProgramNameFromPath(std::u16string_view path) {
  const auto separator = path.rfind(SystemSeparator());
  const auto dot = path.rfind(u'.');
  if (separator == std::u16string_view::npos || dot == std::u16string_view::npos ||
      dot < separator) {
    return {};
  }
  return std::u16string(path.substr(separator + 1, dot - separator - 1));
}

std::u16string PackageCodeFromProgramName(std::u16string_view program_name) {
  std::u16string_view name = program_name;
  if (name.empty() || name.back() != u')') return std::u16string(program_name);
  name.remove_suffix(1);
  size_t digits = 0;
  while (digits < name.size() && name[name.size() - 1 - digits] >= u'0' &&
         name[name.size() - 1 - digits] <= u'9') {
    ++digits;
  }
  if (digits == 0 || digits == name.size() || name[name.size() - 1 - digits] != u'(') {
    return std::u16string(program_name);
  }
  name.remove_suffix(digits + 1);
  if (!name.empty() && name.back() == u' ') name.remove_suffix(1);
  if (name.empty()) return std::u16string(program_name);
  return std::u16string(name);
}

std::u16string GetProgramName() { return ProgramNameFromPath(Utf8ToWide(platform::ExecutablePath())); }

}  // namespace qv::util
