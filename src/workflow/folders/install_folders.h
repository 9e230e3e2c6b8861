// The data folder that downloaded and installed game packages go to, and the folders below it.
//
// | folder              | path                                            |
// | data folder         | ResolveDataFolder (remembered as dl_path)        |
// | download folder     | data folder + "download/app/"                    |
// | game install folder | data folder + "install/plugin/" + game id + "/"  |
// | game files folder   | game install folder + "app/"                     |
//
// Sub-folder names are appended to the data folder text as it stands: a remembered folder
// written without its final '/' ("/data/games") gives "/data/gamesdownload/app/". Every folder
// is created when missing. An empty result means there is no such folder: nothing was created and
// nothing may be written there. Runs on the installing task's worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "workflow/tasks/install_context.h"
#include "workflow/folders/install_machine.h"

namespace qv::workflow {

// Free space asked for the data folder, in KiB: 0 stands for kDefaultDataFolderSpaceKb.
inline constexpr uint64_t kDefaultDataFolderSpaceKb = 5242880;  // 5 GiB
inline constexpr uint64_t kDownloadFolderSpaceKb = 3145728;     // 3 GiB
inline constexpr uint64_t kGameInstallFolderSpaceKb = 5242880;  // 5 GiB

inline constexpr std::u16string_view kDownloadSubPath = u"download/app/";
inline constexpr std::u16string_view kGameInstallSubPath = u"install/plugin/";
inline constexpr std::u16string_view kGameFilesSubPath = u"app/";

// The data folder. The first acceptable of: the emulator's folder (`emulator_candidate`), the
// folder remembered under `key_name` in the installer's config.ini, and the folder "QVorvane/" on
// the drive ChooseInstallDrive picks (remembered at once; then `min_space_kb`, 0 read as
// kDefaultDataFolderSpaceKb, becomes that drive's free space). Candidates are trimmed of white
// space and keep their letter case; one is acceptable when it is an existing folder given by an
// absolute path that does not name drive G ("g:" in either case anywhere). The folder is created
// when missing and marked hidden. Empty when no drive could be chosen and no candidate was usable.
std::u16string ResolveDataFolderFrom(std::u16string emulator_candidate, uint64_t& min_space_kb,
                                     std::string_view key_name, const InstallMachine& machine);

// ResolveDataFolderFrom with the emulator's folder as the registry names it.
std::u16string ResolveDataFolder(uint64_t& min_space_kb, std::string_view key_name,
                                 const InstallMachine& machine);

// The data folder remembered in the installer's config.ini (dl_path), trimmed; empty when none
// was remembered. Reads only: nothing is chosen or created.
std::u16string RememberedDataFolder(const InstallMachine& machine);

std::u16string GetDownloadFolder(const InstallMachine& machine);

// Empty when `game_id` is not a plain file-name component (game_id_path.h).
std::u16string GetGameInstallFolder(std::u16string_view game_id, const InstallMachine& machine);

// The game install folder of the context's game + "app/", created when missing; empty when there
// is no game install folder.
std::u16string GetGameFilesFolder(const InstallContext& context);

// The kept copy of the context's game package in the download folder: the name
// "<game id>_<game_ver>_<ver_air>.dat" (the record's text as stored). Empty when that name is not
// a plain file-name component or there is no download folder.
std::u16string KeptPackageCopyPath(const InstallContext& context);

}  // namespace qv::workflow
