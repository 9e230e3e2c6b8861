// What the view tests share (with game_records.h): a fixture with a progress view created over
// a recording host.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/message_loop_context.h"
#include "core/ref_base.h"
#include "fake_hosts.h"
#include "temp_root.h"
#include "game_records.h"
#include "ui/core/client_view.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"

namespace qv::ui::test {

// The progress window's place inside the main window at (100, 80) with the shipped frame.
inline constexpr Rect kClientWindowRect{113, 93, 558, 384};

// A progress view created at kClientWindowRect, with its own folders and loop registry inside
// the test's temporary root.
class ClientViewTest : public ::testing::Test {
 protected:
  ClientViewTest();
  ~ClientViewTest() override;

  // Another view over its own host, created like the fixture's.
  std::unique_ptr<ClientView> MakeView(FakeClientHost& host, bool create = true);
  // Delivers the messages posted to `view` (the fixture's by default) so far, and those they
  // post in turn.
  void DeliverMessages();
  void DeliverMessages(FakeClientHost& host, ClientView& view);
  // Delivers one expiry of the view's timer (which must be running).
  void FireTimer(int id);
  // Reports a status and delivers the refresh tick that shows it.
  void ShowStatus(int state_code, int percent, std::u16string_view key);
  // The game-bag folder of `game_id`, made, as UTF-8.
  std::string GameFolder(const std::string& game_id);
  // The whole window as the next paint renders it.
  Surface Render();
  Surface Render(ClientView& view);

  qv::test::TempRoot root_;
  util::AppFolders folders_;
  core::RefPtr<core::MessageLoopContext> loops_;
  CountingDelegate delegate_;
  BoxTextRenderer text_;
  FakeClientHost host_;
  std::unique_ptr<ClientView> view_;
};

}  // namespace qv::ui::test
