// How the Linux side reads a process's /proc files (process_table.h). Internal to the platform
// layer and its tests.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace qv::platform {

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
