#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QBuffer>
#include <QImage>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "controller/window_messages.h"
#include "loopback_server.h"
#include "ui/client_layout.h"
#include "ui/image_loader.h"
#include "ui/core/picture_ids.h"
#include "ui_test_support.h"
#include "util/default_descriptions.h"
#include "util/text_conversion.h"
#include "zip_builders.h"

namespace qv::ui::test {
namespace {

const QColor kPngColour(10, 200, 30);
const QColor kJpgColour(240, 20, 200);

QByteArray PictureBytes(const QColor& colour, const char* format) {
  QImage picture(100, 40, QImage::Format_RGB32);
  picture.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, format, 100);
  return bytes;
}

void WritePicture(const std::string& path, const QColor& colour, const char* format) {
  const QByteArray bytes = PictureBytes(colour, format);
  WriteBytes(path, std::string_view(bytes.constData(), bytes.size()));
}

bool Near(QRgb pixel, const QColor& colour, int tolerance = 8) {
  return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
         std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue()) <= tolerance && qAlpha(pixel) == 255;
}

class ClientDlgGameInfoTest : public ClientDlgTest {
 protected:
  // The header's centre and corners as rendered.
  std::vector<QRgb> HeaderPixels() {
    const QImage surface = dlg_->RenderSurface();
    return {surface.pixel(279, 132), surface.pixel(0, 30), surface.pixel(557, 234)};
  }
  void Apply(const workflow::GameInfo& game, uintptr_t fetch_bag) {
    dlg_->ApplyGameInfo(game, fetch_bag);
    DeliverMessages();
  }
};

TEST_F(ClientDlgGameInfoTest, HeaderPictureFromTheGamesFolderIsStretchedOverTheHeader) {
  WritePicture(GameFolder("1001") + "install_head.png", kPngColour, "PNG");
  WritePicture(GameFolder("1001") + "install_head.jpg", kJpgColour, "JPEG");
  Apply(MakeGame("Tides of Valoria III"), 0);

  ASSERT_TRUE(dlg_->HasHeaderImage());
  EXPECT_FALSE(dlg_->HeaderIsDefault());
  for (QRgb pixel : HeaderPixels()) EXPECT_TRUE(Near(pixel, kPngColour)) << std::hex << pixel;
  const QImage surface = dlg_->RenderSurface();
  EXPECT_EQ(qAlpha(surface.pixel(279, 29)), 0) << "nothing above the header";
  EXPECT_EQ(qAlpha(surface.pixel(279, 236)), 0) << "nothing below the header";
}

TEST_F(ClientDlgGameInfoTest, JpegHeaderIsTakenWhenThereIsNoPng) {
  WritePicture(GameFolder("1001") + "install_head.jpg", kJpgColour, "JPEG");
  Apply(MakeGame("Tides of Valoria III"), 0);
  ASSERT_TRUE(dlg_->HasHeaderImage());
  EXPECT_TRUE(Near(HeaderPixels()[0], kJpgColour));
}

TEST_F(ClientDlgGameInfoTest, DamagedPngGivesWayToTheJpegAndThenToTheDefaultHeader) {
  WriteBytes(GameFolder("1001") + "install_head.png", "not a picture");
  WritePicture(GameFolder("1001") + "install_head.jpg", kJpgColour, "JPEG");
  Apply(MakeGame("Tides of Valoria III"), 0);
  EXPECT_TRUE(Near(HeaderPixels()[0], kJpgColour));

  std::filesystem::remove(GameFolder("1001") + "install_head.jpg");
  Apply(MakeGame("Tides of Valoria III", "1002"), 0);
  EXPECT_TRUE(Near(HeaderPixels()[0], kJpgColour)) << "a working header stays";

  auto fresh = std::make_unique<ClientDlg>(&delegate_, folders_, *loops_);
  ASSERT_TRUE(fresh->Create(&owner_, dlg_->WindowRect()));
  fresh->ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);  // png damaged, no jpg any more
  DeliverMessages();
  EXPECT_TRUE(fresh->HeaderIsDefault());
}

TEST_F(ClientDlgGameInfoTest, WithoutAPictureTheDefaultHeaderIsShownUnlessTheBagIsOnItsWay) {
  const QImage banner = LoadImageFromResource(kDefaultHeaderPicture);
  ASSERT_EQ(banner.size(), QSize(558, 205));

  Apply(MakeGame("Tides of Valoria III"), 0);
  ASSERT_TRUE(dlg_->HeaderIsDefault());
  EXPECT_EQ(dlg_->RenderSurface().pixel(279, 132), banner.pixel(279, 102));
}

TEST_F(ClientDlgGameInfoTest, HeaderStaysEmptyWhileTheBagIsFetchedUntilTheDefaultHeaderMessage) {
  auto server = qv::test::LoopbackServer::StartHttp();
  server->Stall("/bag.zip");  // the bag never arrives; the loops' stop ends the transfer
  workflow::GameInfo game = MakeGame("Tides of Valoria III");
  std::strncpy(game.url, server->Url("/bag.zip").c_str(), sizeof(game.url) - 1);
  Apply(game, 1);
  EXPECT_FALSE(dlg_->HasHeaderImage());
  EXPECT_EQ(qAlpha(dlg_->RenderSurface().pixel(279, 132)), 0);

  dlg_->ShowDefaultHeader();
  DeliverMessages();
  EXPECT_TRUE(dlg_->HeaderIsDefault());
  loops_->StopAll();
}

TEST_F(ClientDlgGameInfoTest, DefaultHeaderMessageLeavesAGamePictureAlone) {
  WritePicture(GameFolder("1001") + "install_head.png", kPngColour, "PNG");
  Apply(MakeGame("Tides of Valoria III"), 0);
  dlg_->ShowDefaultHeader();
  DeliverMessages();
  EXPECT_FALSE(dlg_->HeaderIsDefault());
  EXPECT_TRUE(Near(HeaderPixels()[0], kPngColour));
}

TEST_F(ClientDlgGameInfoTest, GameIdThatIsNoFileNameNeverLeadsOutOfTheGameBagFolder) {
  // gamebag/../install_head.png would be the local data folder's picture.
  const std::string outside = util::WideToUtf8(folders_.GameBagFolder()) + "../install_head.png";
  WritePicture(outside, kPngColour, "PNG");
  Apply(MakeGame("Tides of Valoria III", ".."), 0);
  EXPECT_TRUE(dlg_->HeaderIsDefault());
}

TEST_F(ClientDlgGameInfoTest, FetchedBagBringsItsHeaderPictureThroughASecondApply) {
  auto server = qv::test::LoopbackServer::StartHttp();
  const std::string zip = root_.Path("bag.zip");
  const QByteArray picture = PictureBytes(kPngColour, "PNG");
  qv::test::BuildZipWithMinizip(
      zip, {qv::test::ZipEntry::File("install_head.png", picture.toStdString())});
  server->Answer("/bag.zip", 200, *qv::test::ReadFileBytes(zip));
  workflow::GameInfo game = MakeGame("Tides of Valoria III", "1001");
  game.ver = 4;
  std::strncpy(game.url, server->Url("/bag.zip").c_str(), sizeof(game.url) - 1);

  Apply(game, 1);
  ASSERT_TRUE(loops_->HasLoop(ClientDlg::kGameBagLoop));
  // The download runs on the game-bag loop's thread; its result arrives as a posted message.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!dlg_->HasHeaderImage() && std::chrono::steady_clock::now() < give_up) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::yield();
  }
  ASSERT_TRUE(dlg_->HasHeaderImage());
  EXPECT_FALSE(dlg_->HeaderIsDefault());
  EXPECT_TRUE(Near(HeaderPixels()[0], kPngColour));
  EXPECT_EQ(server->RequestsTo("/bag.zip").size(), 1u);
}

TEST_F(ClientDlgGameInfoTest, GameNameBecomesTheTitleAndItsDescriptionReplacesTheParagraph) {
  Apply(MakeGame("Tides of Valoria III", "1001", "", "Set sail today."), 0);
  EXPECT_EQ(dlg_->Title(), u"Tides of Valoria III");
  EXPECT_EQ(dlg_->Description(), u"Set sail today.");

  // An empty name or description changes neither.
  Apply(MakeGame("", "1001", "", ""), 0);
  EXPECT_EQ(dlg_->Title(), u"Tides of Valoria III");
  EXPECT_EQ(dlg_->Description(), u"Set sail today.");
}

TEST_F(ClientDlgGameInfoTest, FirstDescriptionIsTheFeaturedGamesOnceTheGameIsKnownBeforeCreation) {
  auto fresh = std::make_unique<ClientDlg>(&delegate_, folders_, *loops_);
  fresh->ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);  // not created: copied, not posted
  ASSERT_TRUE(fresh->Create(&owner_, dlg_->WindowRect()));
  EXPECT_EQ(fresh->Description(), util::Utf8ToWide(util::kGameDescription));
  DeliverMessages();
  EXPECT_FALSE(fresh->HasHeaderImage()) << "no message was posted before the window existed";
}

}  // namespace
}  // namespace qv::ui::test
