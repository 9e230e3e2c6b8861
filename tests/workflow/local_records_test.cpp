#include "workflow/records/local_records.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "install_steps_machine.h"
#include "temp_root.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

class LocalRecordsTest : public test::InstallStepsMachineTest {
 protected:
  std::string PlatformRecord() const { return LocalData() + test::OnThisSystem("app/qvorvane.ini"); }
  std::string GameInfoRecord(std::string_view game_id) const {
    return ChosenDataFolder() +
           test::OnThisSystem("install/plugin/" + std::string(game_id) + "/info.ini");
  }
};

TEST_F(LocalRecordsTest, GameInfoHoldsVersionCodeAndStateAndIsRewrittenInPlace) {
  SetGame("1001", "Game");
  SetText(context_.record.game_ver, "1.0.2");
  context_.record.ver_air = 17;
  EXPECT_TRUE(WriteGameInfoRecord(context_));
  EXPECT_EQ(qv::test::ReadFileBytes(GameInfoRecord("1001")),
            test::ProfileText("[General]\nversion=1.0.2\nver_code=17\nstate=0\n"));

  SetText(context_.record.game_ver, "1.1");
  context_.record.ver_air = 18;
  EXPECT_TRUE(WriteGameInfoRecord(context_));
  EXPECT_EQ(qv::test::ReadFileBytes(GameInfoRecord("1001")),
            test::ProfileText("[General]\nversion=1.1\nver_code=18\nstate=0\n"));
}

TEST_F(LocalRecordsTest, GameInfoIsNotWrittenForAnIdThatIsNoPlainName) {
  for (const char* game_id : {"", "..", "../../x", "a/b"}) {
    SetGame(game_id, "Game");
    EXPECT_FALSE(WriteGameInfoRecord(context_)) << game_id;
  }
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + "install"));
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + "x"));
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + "info.ini"));
}

TEST_F(LocalRecordsTest, PlatformRecordCarriesThePluginKeysThenTheVersionKeys) {
  SetText(context_.record.version, "3.2.1");
  context_.record.ver = 321;
  context_.record.ver_air = 5;
  EXPECT_TRUE(WriteRuntimePluginRecord(context_));
  EXPECT_TRUE(WritePlatformVersionRecord(context_));
  EXPECT_EQ(qv::test::ReadFileBytes(PlatformRecord()),
            test::ProfileText("[General]\nair_ver=5\nu_air_state=3\nversion=3.2.1\nver=321\n"));
}

TEST_F(LocalRecordsTest, NarrowTextThatIsNotUtf8IsStoredAsReplacementCharacters) {
  if (test::OnWindows()) GTEST_SKIP() << "the ANSI code page of Windows is no UTF-8";
  SetText(context_.record.version, "3.\xff");
  context_.record.ver = -1;
  EXPECT_TRUE(WritePlatformVersionRecord(context_));
  EXPECT_EQ(qv::test::ReadFileBytes(PlatformRecord()), "[General]\nversion=3.\xef\xbf\xbd\nver=-1\n");
}

}  // namespace
}  // namespace qv::workflow
