// Moves the calling process (and every process it starts afterwards) into a network namespace of
// its own with only the loopback interface, up. An end-to-end run listens on the fixed ports
// built into the installer; in its own namespace nothing else on the machine (another test, a
// demo, a benchmark) can take those ports or receive the installer's connections. Needs
// CAP_SYS_ADMIN (root); call it once, on the test's main thread, before starting any process.
#pragma once

#include <string>

namespace qv::test {

// False, with the reason, when the namespace could not be made or its loopback not brought up.
bool EnterOwnLoopbackNetwork(std::string& why_not);

}  // namespace qv::test
