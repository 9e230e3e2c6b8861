// What the demo platform's uninstaller undoes: everything an installation of the platform made
// for this user, found where the installer puts it.
//
//   registry   the uninstall entry and App Paths (machine-wide when this process may write
//              there, and the current user's), the URL protocol keys, the start-up value;
//   shortcuts  the client's on the desktop and its start-menu folder, the featured game's on
//              the desktop (named by the game list);
//   desktop    the desktop entries, launchers and icons the installation recorded
//              (workflow/registration/desktop_entries.h) and our default for the platform's
//              links in mimeapps.list;
//   files      the plug-in folder, the game-bag folder, the data folder's downloads and game
//              installations, and last the install folder itself (only when it is the
//              platform folder or the registered install location). Where the system deletes
//              no running program's file (Windows), the uninstaller first moves itself out of
//              that folder into the temporary folder.
//
// The installer's own settings (its config.ini and the client id) are the installer's, not the
// platform's, and stay. Runs on the calling thread; touches only the paths above.
#pragma once

#include <string>
#include <vector>

namespace qv::demo {

// Removes everything listed above; `install_folder` is the folder holding the uninstaller
// (ending in the system's separator). Returns one line per item removed, for the user.
std::vector<std::string> UninstallPlatform(const std::u16string& install_folder);

}  // namespace qv::demo
