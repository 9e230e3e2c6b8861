// Windows reads no desktop entries: its registrations are the registry and the shell links.
#include "platform/desktop_shell.h"

namespace qv::platform {

bool UsesDesktopEntries() { return false; }

bool MarkLauncherTrusted(const std::string&) { return false; }

void RefreshDesktopDatabase(const std::string&) {}

}  // namespace qv::platform
