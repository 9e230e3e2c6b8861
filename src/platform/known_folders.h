// Where the per-user and machine-wide folders of the shell are: on Windows the shell's own
// (SHGetFolderPathW, GetTempPathW); on Linux the XDG folders standing in for them, as listed
// below.
//
// Every function reads the environment at the moment of the call (nothing is cached here; the
// callers cache what the design says they cache), returns UTF-8 text without a trailing
// separator unless stated, and never fails: a missing variable falls back as listed.
#pragma once

#include <string>

namespace qv::platform {

// $HOME, else the password database's home folder of this user, else "/".
std::string HomeFolder();

// The user's local application data: $XDG_DATA_HOME, else HOME/.local/share.
std::string LocalAppDataFolder();

// The user's roaming application data: $XDG_CONFIG_HOME, else HOME/.config.
std::string RoamingAppDataFolder();

// The stand-in platform's machine root: $QV_MACHINE_ROOT, else the build's default
// (qv::settings::kMachineRootDefault). It holds the machine-wide registry root and the all-users
// data folder. On Windows the drive the system runs from ("C:").
std::string MachineRoot();

// All users' application data: MachineRoot() + "/ProgramData".
std::string CommonAppDataFolder();

// The temporary folder, ending in its separator: $TMPDIR, else "/tmp/" (GetTempPathW).
std::string TempFolder();

// The desktop: XDG_DESKTOP_DIR from ROAMING/user-dirs.dirs ("$HOME/..." or an absolute path),
// else HOME/Desktop.
std::string DesktopFolder();

// The start menu: LocalAppDataFolder() + "/applications".
std::string StartMenuFolder();

// The first of the folders above (home, local and roaming data, temporary folder, desktop,
// machine root) whose path is not well-formed UTF-8, or empty when every one is. The installer
// carries paths as UTF-16 text, which cannot hold such a path byte for byte: a run refuses these
// folders instead of writing to a neighbouring path.
std::string FolderThatIsNotUtf8();

}  // namespace qv::platform
