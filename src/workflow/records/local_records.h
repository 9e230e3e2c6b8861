// The ini records the installer writes for the platform client, each in section "General".
//
// | file          | folder              | keys, in the order written                       |
// | info.ini      | game install folder | version (game_ver), ver_code (ver_air), state "0" |
// | qvorvane.ini  | platform folder     | version, ver (the platform's)                     |
// |               |                     | air_ver (ver_air), u_air_state "3" (plug-in)      |
//
// (games.ini, the game list in the game-bag folder, is written with the shortcuts.)
//
// Numbers are decimal text; narrow record text is taken in the ANSI code page. Each write goes
// through the private-profile calls, which replace the file atomically: a write that cannot
// complete leaves the previous record whole. The results tell whether every key was written;
// the installation goes on either way. Runs on the installing task's worker thread.
#pragma once

#include <string_view>

#include "workflow/tasks/install_context.h"

namespace qv::workflow {

inline constexpr std::string_view kGameInfoStateInstalled = "0";
inline constexpr std::string_view kRuntimePluginStateInstalled = "3";

// info.ini for the record's game; false without writing when the game id is not a plain
// file-name component (game_id_path.h) or there is no game install folder.
bool WriteGameInfoRecord(const InstallContext& context);

// version and ver in the platform folder's qvorvane.ini.
bool WritePlatformVersionRecord(const InstallContext& context);

// air_ver and u_air_state in the platform folder's qvorvane.ini, after the runtime plug-in is in
// place.
bool WriteRuntimePluginRecord(const InstallContext& context);

}  // namespace qv::workflow
