// The URL protocol through which web pages start the platform client.
#pragma once

#include "util/app_folders.h"

namespace qv::workflow {

// RegisterUrlProtocol: below the classes root (the current user's "Software\Classes"), key
// "QVorvane" gets its description and the "URL Protocol" marker; "QVorvane\DefaultIcon" names the
// client in the platform folder unless it has a default value already; the open command
// ("<client>"  "%1") is written when there is none or when the existing one does not contain the
// client's path (case-sensitive). Failures are silent. Thread-safe.
void RegisterUrlProtocol(util::AppFolders& folders = util::ProcessAppFolders());

}  // namespace qv::workflow
