// Waits on what a running installer leaves for the test to see. Each is bounded only so that a
// broken run cannot hang the suite (about a minute), not a guess of the machine's speed.
//
// The test's main thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "child_process.h"

namespace qv::test {

// Until the statistics service has logged `count` reports.
bool WaitForReports(const std::string& statistics_log, size_t count);
// Until a platform download ("qvordl_*.part") in `temp_folder` holds some of its bytes.
bool WaitForPartialPlatformDownload(const std::string& temp_folder);
// Until the installer ends: its exit code (-1 after a signal), or nullopt when it still ran
// after `limit`; then the test fails and the installer is killed.
std::optional<int> WaitForInstallerExit(ChildProcess& installer, std::chrono::seconds limit);

}  // namespace qv::test
