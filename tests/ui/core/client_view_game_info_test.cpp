#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "loopback_server.h"
#include "ui/core/client_layout.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "util/default_descriptions.h"
#include "util/text_conversion.h"
#include "view_test_support.h"
#include "workflow/shortcuts/png_encoder.h"

namespace qv::ui::test {
namespace {

constexpr uint32_t kPngPixel = 0xFF0AC81E;  // opaque (10, 200, 30)

// A PNG file of 100 x 40 pixels of kPngPixel.
std::string PngBytes() {
  workflow::RgbaImage picture;
  picture.width = 100;
  picture.height = 40;
  for (int i = 0; i < 100 * 40; ++i) picture.pixels.insert(picture.pixels.end(), {10, 200, 30, 255});
  return workflow::EncodePng(picture);
}

class ClientViewGameInfoTest : public ClientViewTest {
 protected:
  // The header's centre and corners as rendered.
  std::vector<uint32_t> HeaderPixels() {
    const Surface surface = Render();
    return {surface.PixelAt(279, 132), surface.PixelAt(0, 30), surface.PixelAt(557, 234)};
  }
  void Apply(const workflow::GameInfo& game, uintptr_t fetch_bag) {
    view_->ApplyGameInfo(game, fetch_bag);
    DeliverMessages();
  }
};

TEST_F(ClientViewGameInfoTest, HeaderPictureFromTheGamesFolderIsStretchedOverTheHeader) {
  WriteBytes(GameFolder("1001") + "install_head.png", PngBytes());
  Apply(MakeGame("Tides of Valoria III"), 0);

  ASSERT_TRUE(view_->HasHeaderImage());
  EXPECT_FALSE(view_->HeaderIsDefault());
  for (uint32_t pixel : HeaderPixels()) EXPECT_EQ(pixel, kPngPixel) << std::hex << pixel;
  const Surface surface = Render();
  EXPECT_EQ(PixelAlpha(surface.PixelAt(279, 29)), 0u) << "nothing above the header";
  EXPECT_EQ(PixelAlpha(surface.PixelAt(279, 236)), 0u) << "nothing below the header";
}

TEST_F(ClientViewGameInfoTest, DamagedPictureGivesWayToTheDefaultHeaderAndNeverReplacesAWorkingOne) {
  WriteBytes(GameFolder("1001") + "install_head.png", PngBytes());
  Apply(MakeGame("Tides of Valoria III"), 0);
  WriteBytes(GameFolder("1002") + "install_head.png", "not a picture");
  Apply(MakeGame("Tides of Valoria III", "1002"), 0);
  EXPECT_EQ(HeaderPixels()[0], kPngPixel) << "a working header stays";

  FakeClientHost host;
  auto fresh = MakeView(host);
  fresh->ApplyGameInfo(MakeGame("Tides of Valoria III", "1002"), 0);
  DeliverMessages(host, *fresh);
  EXPECT_TRUE(fresh->HeaderIsDefault());
}

TEST_F(ClientViewGameInfoTest, WithoutAPictureTheDefaultHeaderIsShownUnlessTheBagIsOnItsWay) {
  const Surface banner = LoadPictureFromResource(kDefaultHeaderPicture);
  ASSERT_EQ(banner.GetSize(), (Size{558, 205}));

  Apply(MakeGame("Tides of Valoria III"), 0);
  ASSERT_TRUE(view_->HeaderIsDefault());
  EXPECT_EQ(Render().PixelAt(279, 132), banner.PixelAt(279, 102));
}

TEST_F(ClientViewGameInfoTest, HeaderStaysEmptyWhileTheBagIsFetchedUntilTheDefaultHeaderMessage) {
  auto server = qv::test::LoopbackServer::StartHttp();
  server->Stall("/bag.zip");  // the bag never arrives; the loops' stop ends the transfer
  workflow::GameInfo game = MakeGame("Tides of Valoria III");
  std::strncpy(game.url, server->Url("/bag.zip").c_str(), sizeof(game.url) - 1);
  Apply(game, 1);
  EXPECT_TRUE(loops_->HasLoop(ClientView::kGameBagLoop));
  EXPECT_FALSE(view_->HasHeaderImage());
  EXPECT_EQ(PixelAlpha(Render().PixelAt(279, 132)), 0u);

  view_->ShowDefaultHeader();
  DeliverMessages();
  EXPECT_TRUE(view_->HeaderIsDefault());
  loops_->StopAll();
}

TEST_F(ClientViewGameInfoTest, DefaultHeaderMessageLeavesAGamePictureAlone) {
  WriteBytes(GameFolder("1001") + "install_head.png", PngBytes());
  Apply(MakeGame("Tides of Valoria III"), 0);
  view_->ShowDefaultHeader();
  DeliverMessages();
  EXPECT_FALSE(view_->HeaderIsDefault());
  EXPECT_EQ(HeaderPixels()[0], kPngPixel);
}

TEST_F(ClientViewGameInfoTest, GameIdThatIsNoFileNameNeverLeadsOutOfTheGameBagFolder) {
  // gamebag/../install_head.png would be the local data folder's picture.
  const std::string outside = util::WideToUtf8(folders_.GameBagFolder()) + "../install_head.png";
  WriteBytes(outside, PngBytes());
  Apply(MakeGame("Tides of Valoria III", ".."), 0);
  EXPECT_TRUE(view_->HeaderIsDefault());
}

TEST_F(ClientViewGameInfoTest, GameNameBecomesTheTitleAndItsDescriptionReplacesTheParagraph) {
  Apply(MakeGame("Tides of Valoria III", "1001", "", "Set sail today."), 0);
  EXPECT_EQ(view_->Title(), u"Tides of Valoria III");
  EXPECT_EQ(view_->Description(), u"Set sail today.");

  // An empty name or description changes neither.
  Apply(MakeGame("", "1001", "", ""), 0);
  EXPECT_EQ(view_->Title(), u"Tides of Valoria III");
  EXPECT_EQ(view_->Description(), u"Set sail today.");
}

TEST_F(ClientViewGameInfoTest, FirstDescriptionIsTheFeaturedGamesOnceTheGameIsKnownBeforeCreation) {
  FakeClientHost host;
  auto fresh = MakeView(host, false);
  fresh->ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);  // not created: copied, not posted
  fresh->OnCreated(kClientWindowRect);
  EXPECT_EQ(fresh->Description(), util::Utf8ToWide(util::kGameDescription));
  DeliverMessages(host, *fresh);
  EXPECT_FALSE(fresh->HasHeaderImage()) << "no message was posted before the window existed";
}

}  // namespace
}  // namespace qv::ui::test
