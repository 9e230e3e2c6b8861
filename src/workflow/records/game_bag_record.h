// Where the featured game's bag is unpacked and the record of which version it holds.
//
// | folder            | game-bag folder + game id + "/"       |
// | version record    | that folder + "cfg.ini", [main] ver=N |
//
// The controller compares the recorded version with the package answer's to decide whether the
// game bag is fetched again; RunDownGamebagTask writes it once a bag is in place. Thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "util/app_folders.h"

namespace qv::workflow {

inline constexpr std::u16string_view kGameBagVersionFile = u"cfg.ini";
inline constexpr std::string_view kGameBagVersionSection = "main";
inline constexpr std::string_view kGameBagVersionKey = "ver";

// The game's folder below the game-bag folder (ending in '/'); the game-bag folder itself for an
// empty id. Empty when the id is not a plain file-name component (game_id_path.h).
std::u16string GameBagGameFolder(std::string_view game_id, util::AppFolders& folders);

// The recorded version of the game's bag; 0 when there is no record (or no folder for the id).
int ReadGameBagVersion(std::string_view game_id, util::AppFolders& folders);

// Records `ver` in `game_folder`'s cfg.ini. Returns whether it was written.
bool WriteGameBagVersion(std::u16string_view game_folder, uint8_t ver);

}  // namespace qv::workflow
