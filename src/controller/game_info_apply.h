// What the progress window is told when a package answer names the featured game: whether the
// game's bag on disk is of another version than the answer's, so that it is fetched again.
// Reads the bag's version record; any thread.
#pragma once

#include <cstdint>

#include "util/app_folders.h"
#include "workflow/packages/install_record.h"

namespace qv::controller {

// True when the recorded version of the game's bag (0 without a record) differs from `game.ver`.
bool GameBagChanged(const workflow::GameInfo& game, util::AppFolders& folders);

// The WM_APPLY_GAME_INFO wParam for `game`: 1 when its bag must be fetched, else 0.
uintptr_t ApplyGameInfoParam(const workflow::GameInfo& game, util::AppFolders& folders);

}  // namespace qv::controller
