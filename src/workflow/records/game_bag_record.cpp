#include "workflow/records/game_bag_record.h"

#include <string>

#include "platform/private_profile.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"
#include "workflow/folders/game_id_path.h"

namespace qv::workflow {

std::u16string GameBagGameFolder(std::string_view game_id, util::AppFolders& folders) {
  const std::u16string id = util::AnsiToWide(game_id);
  if (id.empty()) return folders.GameBagFolder();
  if (!IsPlainFileNameComponent(id)) return {};
  return util::AsFolderPath(folders.GameBagFolder() + id);
}

int ReadGameBagVersion(std::string_view game_id, util::AppFolders& folders) {
  const std::u16string folder = GameBagGameFolder(game_id, folders);
  if (folder.empty()) return 0;
  return platform::GetPrivateProfileInt(
      kGameBagVersionSection, kGameBagVersionKey, 0,
      util::ToPlatformPath(util::JoinPath(folder, kGameBagVersionFile)));
}

bool WriteGameBagVersion(std::u16string_view game_folder, uint8_t ver) {
  if (game_folder.empty()) return false;
  return platform::WritePrivateProfileString(
      kGameBagVersionSection, kGameBagVersionKey, std::to_string(ver),
      util::ToPlatformPath(util::JoinPath(game_folder, kGameBagVersionFile)));
}

}  // namespace qv::workflow
