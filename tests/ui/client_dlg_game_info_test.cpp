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
#include "ui/core/client_layout.h"
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
    const Surface surface = dlg_->RenderSurface();
    return {surface.PixelAt(279, 132), surface.PixelAt(0, 30), surface.PixelAt(557, 234)};
  }
  void Apply(const workflow::GameInfo& game, uintptr_t fetch_bag) {
    view_->ApplyGameInfo(game, fetch_bag);
    DeliverMessages();
  }
};

TEST_F(ClientDlgGameInfoTest, JpegHeaderIsTakenWhenThereIsNoPng) {
  WritePicture(GameFolder("1001") + "install_head.jpg", kJpgColour, "JPEG");
  Apply(MakeGame("Tides of Valoria III"), 0);
  ASSERT_TRUE(view_->HasHeaderImage());
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
  ASSERT_TRUE(fresh->Create(&owner_, view_->WindowRect()));
  fresh->view().ApplyGameInfo(MakeGame("Tides of Valoria III"), 0);  // png damaged, no jpg now
  DeliverMessages();
  EXPECT_TRUE(fresh->view().HeaderIsDefault());
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
  ASSERT_TRUE(loops_->HasLoop(ClientView::kGameBagLoop));
  // The download runs on the game-bag loop's thread; its result arrives as a posted message.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!view_->HasHeaderImage() && std::chrono::steady_clock::now() < give_up) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::yield();
  }
  ASSERT_TRUE(view_->HasHeaderImage());
  EXPECT_FALSE(view_->HeaderIsDefault());
  EXPECT_TRUE(Near(HeaderPixels()[0], kPngColour));
  EXPECT_EQ(server->RequestsTo("/bag.zip").size(), 1u);
}

}  // namespace
}  // namespace qv::ui::test
