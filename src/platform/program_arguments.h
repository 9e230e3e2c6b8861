// The arguments a program was started with, as UTF-8 text.
#pragma once

#include <string>
#include <vector>

namespace qv::platform {

// The arguments after the program's own name. On Linux `argv` as given. On Windows the
// program's wide command line split by the system's rules (CommandLineToArgvW), since the C
// runtime's `argv` there is in the ANSI code page and loses every character outside it; `argc`
// and `argv` are not read.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace qv::platform
