// Starting a program that the caller never waits for. On Windows through the shell
// (ShellExecuteExW with the default verb, the window hidden), the arguments joined into one
// parameter text that the program's own parsing splits back into the same arguments; on Linux
// as below.
#pragma once

#include <string>
#include <vector>

namespace qv::platform {

// Starts the file `program` (resolved without regard to case; a relative path is taken from the
// current folder) directly, never through a shell, with `arguments` after the program path as
// argv[0], in `working_folder` (the current folder when empty; resolved without regard to case),
// in a session of its own, with /dev/null as its standard input, output and error and no other
// descriptor of this process, and with this process's environment. True when the
// program was started (it was found and could be executed).
//
// Nobody waits for the program; a detached reaper thread collects its exit status when it ends,
// so no zombie stays behind while this process lives on. Thread-safe.
bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& working_folder);

}  // namespace qv::platform
