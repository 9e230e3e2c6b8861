#include "workflow/records/games_record.h"

#include "platform/private_profile.h"
#include "util/file_paths.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

constexpr std::string_view kSection = "General";
constexpr std::string_view kGameIdsKey = "game_ids";

}  // namespace

bool WriteGamesRecord(const std::u16string& game_bag_folder, const std::u16string& game_id,
                      const std::u16string& game_name) {
  const std::string file =
      util::ToPlatformPath(game_bag_folder + std::u16string(util::kClientGamesRecord));
  const std::string id = util::WideToUtf8(game_id);
  const bool ids_written = platform::WritePrivateProfileString(kSection, kGameIdsKey, id, file);
  const bool name_written =
      platform::WritePrivateProfileString(kSection, id, util::WideToUtf8(game_name), file);
  return ids_written && name_written;
}

}  // namespace qv::workflow
