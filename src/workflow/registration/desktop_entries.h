// The registrations a freedesktop.org desktop reads (menu, desktop launchers, icon theme, URL
// handler, start at log-on), made beside the registry entries and shell links, which stay as
// they are. Only where the system reads desktop entries (platform/desktop_shell.h); elsewhere
// RegisterDesktopEntries does nothing.
//
// | what                 | file                                                             |
// | menu entry           | $XDG_DATA_HOME/applications/com.qvorvane.Client.desktop          |
// | URL handler          | $XDG_DATA_HOME/applications/com.qvorvane.ClientLink.desktop,     |
// |                      | the default of x-scheme-handler/qvorvane in                      |
// |                      | $XDG_CONFIG_HOME/mimeapps.list                                   |
// | desktop launchers    | desktop folder: "QVorvane.desktop" and "<game name>.desktop"     |
// | start at log-on      | $XDG_CONFIG_HOME/autostart/com.qvorvane.Client.desktop           |
// | icons                | $XDG_DATA_HOME/icons/hicolor/<n>x<n>/apps/<icon name>.png        |
// | what was made        | the local data folder's "desktop-files.txt", one path a line     |
//
// Every file is written whole or not at all (platform/atomic_file.h) and a second run replaces
// each. Entries name the client by its spelling on disk. Runs on the installing task's thread;
// failures never stop the installation.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "util/app_folders.h"
#include "workflow/tasks/install_context.h"

namespace qv::workflow {

inline constexpr std::string_view kDesktopClientId = "com.qvorvane.Client";
inline constexpr std::string_view kDesktopLinkHandlerId = "com.qvorvane.ClientLink";
inline constexpr std::string_view kClientLinkMimeType = "x-scheme-handler/qvorvane";
inline constexpr std::string_view kDesktopFileExtension = ".desktop";
inline constexpr std::string_view kMimeAppsListName = "mimeapps.list";
inline constexpr std::u16string_view kDesktopFilesRecord = u"desktop-files.txt";
// The featured game's icon is this prefix and the game id.
inline constexpr std::string_view kGameIconPrefix = "com.qvorvane.Game-";
inline constexpr uint32_t kProgramIconSizes[] = {16, 48, 256};
inline constexpr uint32_t kGameIconSizes[] = {48, 64, 128, 256};

// The program's icon as PNG files, the largest and the smallest it has; either may be empty.
struct ProgramIconPictures {
  std::span<const unsigned char> large;
  std::span<const unsigned char> small;
};

// Makes every entry above for the context's record. The autostart entry only when
// `start_at_log_on` (the start-up registry value's rule); when not, an autostart entry of an
// earlier run is removed. The record lists every file made by this or an earlier run that is
// still there.
void RegisterDesktopEntries(const InstallContext& context, bool start_at_log_on,
                            const ProgramIconPictures& icons);

// The paths the record in `local_data_folder` (the installer's local data folder, ending in
// its separator) lists that are ours to remove: entries named like the files above, in the
// folders above, nothing else (the record is a file anyone may edit). Empty when there is none.
std::vector<std::string> RecordedDesktopFiles(const std::u16string& local_data_folder);

// For an uninstaller: takes our handler out of the links' default in mimeapps.list, leaving a
// default the user has chosen since and every other line as they are.
void RemoveLinkHandlerDefault();

// Whether `path` lies where RegisterDesktopEntries writes and is named as it names its files;
// in the desktop folder, which holds the user's own launchers too, only a launcher that carries
// our mark line.
bool IsDesktopFileWeMake(const std::string& path);

}  // namespace qv::workflow
