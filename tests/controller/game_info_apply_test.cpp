#include "controller/game_info_apply.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <iterator>
#include <optional>

#include "temp_root.h"
#include "util/app_folders.h"
#include "util/text_conversion.h"
#include "workflow/records/game_bag_record.h"

namespace qv::controller {
namespace {

class GameInfoApplyTest : public test::TempRootTest {
 protected:
  util::AppFolders folders_;
};

TEST_F(GameInfoApplyTest, TheBagIsFetchedWhenItsRecordedVersionDiffers) {
  const struct {
    std::optional<uint8_t> recorded;  // no cfg.ini when empty
    uint8_t answer;
    uintptr_t param;
  } cases[] = {
      {3, 3, 0}, {2, 3, 1}, {std::nullopt, 3, 1}, {std::nullopt, 0, 0}, {4, 3, 1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    workflow::GameInfo game;
    std::snprintf(game.game_id, sizeof game.game_id, "g%zu", i);
    game.ver = cases[i].answer;
    if (cases[i].recorded) {
      const std::u16string folder = workflow::GameBagGameFolder(game.game_id, folders_);
      std::filesystem::create_directories(util::WideToUtf8(folder));
      ASSERT_TRUE(workflow::WriteGameBagVersion(folder, *cases[i].recorded));
    }
    EXPECT_EQ(ApplyGameInfoParam(game, folders_), cases[i].param) << "case " << i;
  }
}

TEST_F(GameInfoApplyTest, AnIdThatIsNoFileNameReadsAsVersionZero) {
  workflow::GameInfo game;
  std::strcpy(game.game_id, "../x");
  game.ver = 0;
  EXPECT_FALSE(GameBagChanged(game, folders_));
  game.ver = 1;
  EXPECT_TRUE(GameBagChanged(game, folders_));
}

}  // namespace
}  // namespace qv::controller
