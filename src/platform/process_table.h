// The running processes with their image names, and ending one of them.
//
// SystemProcessTable() sees only the processes of this process's own user (on Linux the real
// user id, read from /proc; on Windows the user of the process's token, from a Toolhelp
// snapshot): run as root or as an administrator, the installer must not close another user's
// client. Tests that must steer the list
// implement ProcessTable themselves. Thread-safe: every call reads afresh; a process that ends
// during a scan is left out, never an error.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace qv::platform {

struct ProcessEntry {
  pid_t pid = 0;
  std::string image_name;  // the file name of the program the process was started from
};

class ProcessTable {
 public:
  virtual ~ProcessTable() = default;
  // Every process of this user, in ascending id order; nullopt when the list cannot be read.
  virtual std::optional<std::vector<ProcessEntry>> Snapshot() const = 0;
  // Ends the process at once (SIGKILL; TerminateProcess). False for an id that does not name one process of this
  // user (0 and negative ids, which would reach whole groups, are refused) or when the signal is
  // refused.
  virtual bool Terminate(pid_t pid) const = 0;
};

// The table of this machine. Lives for the whole process.
const ProcessTable& SystemProcessTable();

}  // namespace qv::platform
