// The part of the desktop shell that reads desktop entries: the menu, launchers on the desktop,
// icons of the icon theme, URL handlers and start at log-on, as freedesktop.org describes them.
//
// On Linux the entries are plain files below the XDG folders (known_folders.h) that the workflow
// writes; this interface holds what needs the system itself. On Windows the shell reads the
// registry and shell links instead: UsesDesktopEntries is false there and the rest does nothing.
//
// Helper programs (gio, update-desktop-database) are looked up on PATH; where one is missing
// its step is skipped. Each runs with /dev/null as its standard streams and is waited for at
// most kDesktopToolWaitMs, then ended. Thread-safe: nothing is shared.
#pragma once

#include <cstdint>
#include <string>

namespace qv::platform {

// How long a helper program may run before it is ended (a `gio` waiting on a session bus that
// never answers must not hold up the installation).
inline constexpr uint32_t kDesktopToolWaitMs = 5000;

// Whether this system's desktop reads freedesktop.org desktop entries.
bool UsesDesktopEntries();

// Makes the launcher at `path` executable by whoever may read it, and, where `gio` is available,
// marks it trusted (metadata::trusted), so that file managers start it without a warning. True
// when the file is executable afterwards.
bool MarkLauncherTrusted(const std::string& path);

// Refreshes the MIME-type cache of the folder of desktop entries `applications_folder` where
// `update-desktop-database` is available.
void RefreshDesktopDatabase(const std::string& applications_folder);

}  // namespace qv::platform
