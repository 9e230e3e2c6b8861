// The part of the installing task that its install steps read and change.
//
// The installing task owns one InstallContext and hands it to each step by reference, so every
// step can be run and tested on its own. Threads: it lives on the task's worker thread and is
// touched only there.
#pragma once

#include <cstdint>
#include <string>

#include "workflow/folders/install_machine.h"
#include "workflow/packages/install_record.h"

namespace qv::workflow {

// The running progress counter's value when the task is made.
inline constexpr int32_t kInitialPercent = 2;

struct InstallContext {
  InstallRecord record;           // the package answer; read-only once the query is done
  std::u16string install_folder;  // the platform folder, or an existing installation's location
  std::u16string exe_path;        // the installed client, empty until an installation is found
  int32_t percent = kInitialPercent;
  InstallMachine machine;         // the folders and drives the steps use
};

}  // namespace qv::workflow
