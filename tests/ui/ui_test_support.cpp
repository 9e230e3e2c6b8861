#include "ui_test_support.h"

#include <QCoreApplication>
#include <QTimerEvent>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ui/client_layout.h"
#include "util/text_conversion.h"

namespace qv::ui::test {
namespace {

template <size_t N>
void CopyField(char (&field)[N], const std::string& text) {
  std::strncpy(field, text.c_str(), N - 1);
}

}  // namespace

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

workflow::GameInfo MakeGame(const std::string& name, const std::string& id,
                            const std::string& server_id, const std::string& desc) {
  workflow::GameInfo game;
  CopyField(game.game_name, name);
  CopyField(game.game_id, id);
  CopyField(game.server_id, server_id);
  CopyField(game.desc, desc);
  return game;
}

ClientDlgTest::ClientDlgTest()
    : loops_(core::MakeRef<core::MessageLoopContext>()),
      dlg_(std::make_unique<ClientDlg>(&delegate_, folders_, *loops_)) {
  owner_.move(100, 80);
  EXPECT_TRUE(owner_.Init());
  const QRect inset = owner_.geometry().adjusted(kClientInset, kClientInset, -kClientInset,
                                                 -kClientInset);
  EXPECT_TRUE(dlg_->Create(&owner_, inset));
}

ClientDlgTest::~ClientDlgTest() {
  loops_->StopAll();
  dlg_.reset();
}

void ClientDlgTest::DeliverMessages() { QCoreApplication::sendPostedEvents(); }

void ClientDlgTest::FireTimer(ClientDlg::Timer timer) {
  const int id = dlg_->TimerId(timer);
  ASSERT_NE(id, 0) << "timer not running";
  QTimerEvent expiry(id);
  QCoreApplication::sendEvent(dlg_.get(), &expiry);
}

void ClientDlgTest::ShowStatus(int state_code, int percent, std::u16string_view key) {
  dlg_->UpdateStatus(state_code, percent, key);
  DeliverMessages();
  FireTimer(ClientDlg::Timer::kRefresh);
}

std::string ClientDlgTest::GameFolder(const std::string& game_id) {
  const std::string folder = util::WideToUtf8(folders_.GameBagFolder()) + game_id + "/";
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace qv::ui::test
