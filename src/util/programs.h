// Finding a running program by its file name, starting a program, and the installer's own name.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/process_table.h"

namespace qv::util {

// The id of the first running process (lowest id) whose image name equals `name` exactly
// (letter case significant); 0 when there is none or the list cannot be read.
pid_t FindProcess(std::u16string_view name, const platform::ProcessTable& processes);
pid_t FindProcess(std::u16string_view name);

// Starts `file` directly (no shell) with `parameters` split by SplitCommandLine, in `folder`;
// nobody waits for it. True when it was started.
bool RunProgram(std::u16string_view file, std::u16string_view parameters, std::u16string_view folder);

// The text between the last separator (the system's) and the last dot of `path`; empty when
// there is no separator, no dot, or the last dot comes before the last separator.
std::u16string ProgramNameFromPath(std::u16string_view path);

// ProgramNameFromPath of the running executable: "tov3_web" for ".../tov3_web.run".
std::u16string GetProgramName();

// The package code a program name stands for: the name without the suffix a browser adds to a
// repeated download, a blank or nothing and then a decimal number in parentheses at the very
// end ("tov3_web (1)" and "tov3_web(2)" both give "tov3_web"). Only one such suffix is taken
// off, and a name that is nothing but the suffix is kept as it is.
std::u16string PackageCodeFromProgramName(std::u16string_view program_name);

}  // namespace qv::util
