#include "ui/core/featured_game.h"

#include "qv/deployment_settings.h"
#include "workflow/packages/record_text.h"

namespace qv::ui {

bool IsFeaturedGame(const workflow::GameInfo& game) {
  return workflow::RecordText(game.game_name) == kFeaturedGameName;
}

std::string GamePageUrl(const workflow::GameInfo& game) {
  std::string path = kGamePagePathFormat;
  path.replace(path.find("%s"), 2, workflow::RecordText(game.server_id));
  return settings::kGameWebBaseUrl + path;
}

bool LinkShown(std::u16string_view link_text, const workflow::GameInfo& game) {
  return !link_text.empty() && !workflow::RecordText(game.server_id).empty() &&
         IsFeaturedGame(game);
}

}  // namespace qv::ui
