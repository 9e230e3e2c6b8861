// games.ini in the game-bag folder: the featured game the platform client lists.
#pragma once

#include <string>

namespace qv::workflow {

// Writes, in section "General" of `game_bag_folder` + "games.ini", `game_ids` = `game_id` (each
// installation replaces the value) and then the key named by `game_id` = `game_name`. True when
// both writes succeeded; an id that cannot be a key (holding '=' or a line break, or starting
// with '[' or ';') is refused by the second write.
bool WriteGamesRecord(const std::u16string& game_bag_folder, const std::u16string& game_id,
                      const std::u16string& game_name);

}  // namespace qv::workflow
