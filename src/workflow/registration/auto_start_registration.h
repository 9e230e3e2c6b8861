// The entry that starts the platform client when the user logs on.
#pragma once

#include <string_view>

#include "util/app_folders.h"

namespace qv::workflow {

// RegisterAutoStart: unless the client's own config.ini (roaming data folder, section "General")
// sets `auto_startup` to the number 0, writes the current user's Run value "qvorvane" as a quoted
// "qvorvane.exe" in the platform folder, two blanks and `arguments`. False only when start-up is
// switched off (nothing is written then); true otherwise, also when the Run key fails to open.
// A value that is not a number (or is empty) is no choice to switch off and keeps the default
// (on). Thread-safe.
bool RegisterAutoStart(std::u16string_view arguments,
                       util::AppFolders& folders = util::ProcessAppFolders());

// Whether an `auto_startup` text leaves start-up on: it is off only for a decimal number
// (optional blanks and sign before the digits, anything after them) whose value is 0.
bool AutoStartupIsOn(std::string_view text);

}  // namespace qv::workflow
