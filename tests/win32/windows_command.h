// Runs a Windows program of the test's own prefix (reg.exe, cmd.exe) to its end and collects
// what it printed: the tests read back through the system's own tools what the code stored.
#pragma once

#include <string>

namespace qv::test {

struct WindowsCommandResult {
  int exit_code = -1;  // -1 when it could not be started
  std::string output;  // standard output and error, as printed
};

WindowsCommandResult RunWindowsCommand(const std::string& command_line);

}  // namespace qv::test
