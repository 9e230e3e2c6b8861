// The base of the end-to-end tests: each test gets a temporary root, network, mount and PID
// namespaces of its own and an EndToEndMachine over the root, and these checks of what a run left behind. Tests
// skip (with the reason) in a build whose installer does not talk to the loopback service, or
// where no network namespace can be made (not root).
//
// Ownership and threads: gtest owns the fixture; everything runs on the test's main thread.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "end_to_end_machine.h"
#include "installation_readback.h"
#include "own_process_space.h"
#include "platform/registry_hive.h"
#include "plugin312_records.h"
#include "registration_keys.h"
#include "temp_root.h"

namespace qv::test {

class EndToEndTest : public TempRootTest {
 protected:
  void SetUp() override;

  // Waits until the statistics service has received `count` reports. A bound for a broken run,
  // not a timing policy.
  bool WaitForReports(size_t count);
  // Waits until a platform download has some of its bytes in the temporary folder.
  bool WaitForPartialPlatformDownload();

  std::string LaunchRecordPath() const { return machine_.PlatformFolder() + "launch.txt"; }

  // The records of a complete installation of plugin-312 into the per-user platform folder,
  // with the machine-wide entries in `machine_wide` (the local machine for root, the current
  // user otherwise), and one start of the client.
  void ExpectPlugin312Installed(const platform::RegistryHive& machine_wide);
  // No file in the platform folder (the run makes the folder itself at start), no registration.
  void ExpectNothingInstalled();

  // Declared before the machine: the service stops before the namespace's processes end.
  OwnProcessSpace process_space_;
  EndToEndMachine machine_{root_};
};

}  // namespace qv::test
