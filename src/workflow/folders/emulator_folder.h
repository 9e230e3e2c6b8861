// The data folder of the platform's emulator variant, when one is installed on this machine.
#pragma once

#include <string>

namespace qv::workflow {

// The emulator variant's install folder (registered by the variant itself under the machine
// root) with its program sub-path taken out: for a variant installed inside the platform's data
// folder this is that data folder. Empty text when the variant is not registered or its value is
// not text of at most util::kRegistryTextMaxBytes. Thread-safe.
std::u16string FindEmulatorFolder();

}  // namespace qv::workflow
