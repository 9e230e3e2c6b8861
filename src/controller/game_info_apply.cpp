#include "controller/game_info_apply.h"

#include "workflow/records/game_bag_record.h"

namespace qv::controller {

bool GameBagChanged(const workflow::GameInfo& game, util::AppFolders& folders) {
  const int installed = workflow::ReadGameBagVersion(workflow::FieldText(game.game_id), folders);
  return installed != static_cast<int>(game.ver);
}

uintptr_t ApplyGameInfoParam(const workflow::GameInfo& game, util::AppFolders& folders) {
  return GameBagChanged(game, folders) ? 1 : 0;
}

}  // namespace qv::controller
