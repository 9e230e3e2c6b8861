#include "ui_test_support.h"

#include <QCoreApplication>
#include <QTimerEvent>
#include <filesystem>

#include "ui/core/client_layout.h"
#include "util/text_conversion.h"

namespace qv::ui::test {

ClientDlgTest::ClientDlgTest()
    : loops_(core::MakeRef<core::MessageLoopContext>()),
      dlg_(std::make_unique<ClientDlg>(&delegate_, folders_, *loops_)),
      view_(&dlg_->view()) {
  owner_.move(100, 80);
  EXPECT_TRUE(owner_.Init());
  const QRect frame = owner_.geometry();
  EXPECT_TRUE(dlg_->Create(&owner_, InsetRect(Rect{frame.x(), frame.y(), frame.width(),
                                                   frame.height()})));
}

ClientDlgTest::~ClientDlgTest() {
  loops_->StopAll();
  dlg_.reset();
}

void ClientDlgTest::DeliverMessages() { QCoreApplication::sendPostedEvents(); }

void ClientDlgTest::FireTimer(int timer) {
  const int id = dlg_->TimerId(timer);
  ASSERT_NE(id, 0) << "timer not running";
  QTimerEvent expiry(id);
  QCoreApplication::sendEvent(dlg_.get(), &expiry);
}

void ClientDlgTest::ShowStatus(int state_code, int percent, std::u16string_view key) {
  view_->UpdateStatus(state_code, percent, key);
  DeliverMessages();
  FireTimer(ClientView::kRefreshTimer);
}

std::string ClientDlgTest::GameFolder(const std::string& game_id) {
  const std::string folder = util::WideToUtf8(folders_.GameBagFolder()) + game_id + "/";
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace qv::ui::test
