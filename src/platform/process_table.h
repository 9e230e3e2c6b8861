// The running processes with their image names, and ending one of them.
//
// SystemProcessTable() reads /proc and sees only the processes of this process's own user (real
// user id), as an ordinary user on the original platform can open only its own processes: run
// as root, the installer must not close another user's client. Tests that must steer the list
// implement ProcessTable themselves. Thread-safe: every call reads afresh; a process that ends
// during a scan is left out, never an error.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

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
  // Ends the process at once (SIGKILL). False for an id that does not name one process of this
  // user (0 and negative ids, which would reach whole groups, are refused) or when the signal is
  // refused.
  virtual bool Terminate(pid_t pid) const = 0;
};

// The table of this machine (/proc). Lives for the whole process.
const ProcessTable& SystemProcessTable();

// The image name from a process's command line (NUL-separated, as /proc/PID/cmdline) and its
// comm (the kernel's copy of the name, cut at 15 bytes): the last component (after '/' or '\')
// of the first argument when it begins with comm; otherwise the first later argument whose last
// component begins with comm (a script started through its interpreter); otherwise comm.
std::string ImageNameFromCommandLine(std::string_view cmdline, std::string_view comm);

// The real user id in the text of /proc/PID/status (its "Uid:" line); nullopt without one.
std::optional<uid_t> RealUidFromStatus(std::string_view status);

// Whether the text of /proc/PID/status says the process has ended (its "State:" line is a
// zombie's, waiting for its parent to collect it, or a dead one's).
bool HasEndedFromStatus(std::string_view status);

}  // namespace qv::platform
