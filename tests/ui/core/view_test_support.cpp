#include "view_test_support.h"

#include <filesystem>

#include "util/text_conversion.h"

namespace qv::ui::test {

ClientViewTest::ClientViewTest()
    : loops_(core::MakeRef<core::MessageLoopContext>()), view_(MakeView(host_)) {}

ClientViewTest::~ClientViewTest() {
  loops_->StopAll();
  view_.reset();
}

std::unique_ptr<ClientView> ClientViewTest::MakeView(FakeClientHost& host, bool create) {
  auto view = std::make_unique<ClientView>(host, &delegate_, folders_, *loops_);
  if (create) view->OnCreated(kClientWindowRect);
  return view;
}

void ClientViewTest::DeliverMessages() { DeliverMessages(host_, *view_); }

void ClientViewTest::DeliverMessages(FakeClientHost& host, ClientView& view) {
  for (auto messages = host.TakeMessages(); !messages.empty(); messages = host.TakeMessages()) {
    for (const PostedMessage& message : messages) {
      view.OnMessage(message.number, message.wparam, message.lparam);
    }
  }
}

void ClientViewTest::FireTimer(int id) {
  ASSERT_TRUE(view_->TimerRunning(id)) << "timer " << id << " not running";
  ASSERT_TRUE(host_.Running(id)) << "the host's timer " << id << " is not running";
  view_->OnTimer(id);
}

void ClientViewTest::ShowStatus(int state_code, int percent, std::u16string_view key) {
  view_->UpdateStatus(state_code, percent, key);
  DeliverMessages();
  FireTimer(ClientView::kRefreshTimer);
}

std::string ClientViewTest::GameFolder(const std::string& game_id) {
  const std::string folder = util::WideToUtf8(folders_.GameBagFolder()) + game_id + "/";
  std::filesystem::create_directories(folder);
  return folder;
}

Surface ClientViewTest::Render() { return Render(*view_); }

Surface ClientViewTest::Render(ClientView& view) {
  const Rect rect = view.WindowRect();
  Surface surface(rect.width, rect.height);
  view.Render(surface, text_);
  return surface;
}

}  // namespace qv::ui::test
