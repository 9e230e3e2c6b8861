#include "workflow/records/app_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app_list_fixture.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

constexpr char kDeclaration[] = "<?xml version=\"1.0\"?>\n";

TEST_F(AppListTest, WithoutAListNothingIsCreated) {
  EXPECT_FALSE(UpdateAppList(kLocalPath, context_));
  EXPECT_FALSE(fs::exists(ListPath()));
  EXPECT_TRUE(fs::is_directory(ChosenDataFolder() + "download/app"));
}

TEST_F(AppListTest, AnEmptyOrBrokenListIsReplacedByOneHoldingThisGame) {
  for (const char* broken : {"", "  \n", "<app_list><item game_id=\"1\">", "not xml", "\xff\xfe"}) {
    WriteList(broken);
    EXPECT_TRUE(UpdateAppList(kLocalPath, context_)) << broken;
    EXPECT_EQ(qv::test::ReadFileBytes(ListPath()),
              std::string(kDeclaration) + "<app_list>\n" + NewItem() + "</app_list>\n")
        << broken;
  }
}

TEST_F(AppListTest, AListOfAnotherKindIsLeftUntouched) {
  const std::string other = "<?xml version=\"1.0\"?>\n<other>\n<app_list/>\n</other>\n";
  WriteList(other);
  EXPECT_FALSE(UpdateAppList(kLocalPath, context_));
  EXPECT_EQ(qv::test::ReadFileBytes(ListPath()), other);
}

TEST_F(AppListTest, TheGamesItemIsUpdatedInPlaceAndAnotherGameIsLeftAlone) {
  WriteList(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<app_list>\r\n"
      "  <item game_id=\"777\" game_name=\"Other\" state=\"1\"/>\r\n"
      "  <item game_id=\"1001\" game_name=\"Old name\" md5=\"old\" saved_bytes=\"512\" "
      "total_bytes=\"1024\" local_path=\"old.dat\" state=\"2\" extra=\"kept\" ver_code=\"16\"/>\r\n"
      "  <item game_id=\"1001\" game_name=\"Second\" state=\"5\"/>\r\n"
      "</app_list>\r\n");
  EXPECT_TRUE(UpdateAppList(kLocalPath, context_));
  EXPECT_EQ(qv::test::ReadFileBytes(ListPath()),
            std::string(kDeclaration) +
                "<app_list>\n"
                "\t<item game_id=\"777\" game_name=\"Other\" state=\"1\" />\n"
                "\t<item game_id=\"1001\" game_name=\"Old name\" "
                "md5=\"0123456789abcdef0123456789abcdef\" saved_bytes=\"512\" total_bytes=\"1024\" "
                "local_path=\"/data/QVorvane/download/app/1001_1.0.2_17.dat\" state=\"9\" "
                "extra=\"kept\" ver_code=\"17\" />\n"
                "\t<item game_id=\"1001\" game_name=\"Second\" state=\"5\" />\n"
                "</app_list>\n");
}

TEST_F(AppListTest, ANewGameIsAppendedAfterTheOthersWithEveryAttribute) {
  WriteList("<app_list><item game_id=\"777\" game_name=\"Other\"/><item game_id=\"10011\"/>"
            "<item game_name=\"no id\"/></app_list>");
  context_.record.g_type = -1;  // not given by the answer
  EXPECT_TRUE(UpdateAppList(kLocalPath, context_));
  std::string item = NewItem();
  item.replace(item.find("game_type=\"2\""), 13, "game_type=\"4294967295\"");
  EXPECT_EQ(qv::test::ReadFileBytes(ListPath()),
            std::string(kDeclaration) +
                "<app_list>\n"
                "\t<item game_id=\"777\" game_name=\"Other\" />\n"
                "\t<item game_id=\"10011\" />\n"
                "\t<item game_name=\"no id\" />\n" +
                item + "</app_list>\n");

  WriteList("<app_list/>");
  context_.record.g_type = 2;
  EXPECT_TRUE(UpdateAppList(kLocalPath, context_));
  EXPECT_EQ(qv::test::ReadFileBytes(ListPath()),
            std::string(kDeclaration) + "<app_list>\n" + NewItem() + "</app_list>\n");
}

TEST_F(AppListTest, TextCutInsideACharacterIsStoredAsAReplacementCharacter) {
  WriteList("<app_list/>");
  SetGame("1001", "Spiel \xc3");  // a two-byte character cut after its first byte
  EXPECT_TRUE(UpdateAppList(kLocalPath, context_));
  EXPECT_NE(qv::test::ReadFileBytes(ListPath()).value().find("game_name=\"Spiel \xef\xbf\xbd\""),
            std::string::npos);
}

}  // namespace
}  // namespace qv::workflow
