// What the UI tests share: an owner window that records what reaches it, a delegate that counts
// the progress window's requests, and a fixture with a created progress window over its owner.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <memory>
#include <string>
#include <vector>

#include "core/message_loop_context.h"
#include "core/ref_base.h"
#include "temp_root.h"
#include "ui/base_dlg.h"
#include "ui/client_dlg.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"

namespace qv::ui::test {

// The main window's stand-in: the frame, and a record of the messages and mouse input it gets.
class RecordingOwner : public BaseDlg {
 public:
  std::vector<uint32_t> messages;
  std::vector<std::pair<QEvent::Type, QPoint>> mouse;  // position in the owner's coordinates

 protected:
  void OnWindowMessage(uint32_t number, uintptr_t, intptr_t) override {
    messages.push_back(number);
  }
  void mousePressEvent(QMouseEvent* event) override { Record(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { Record(event); }
  void mouseMoveEvent(QMouseEvent* event) override { Record(event); }

 private:
  void Record(QMouseEvent* event) {
    mouse.emplace_back(event->type(), event->position().toPoint());
  }
};

class CountingDelegate : public ClientDlg::Delegate {
 public:
  int quits = 0;
  int no_connection_reports = 0;
  void Quit() override { ++quits; }
  void ReportNoConnection() override { ++no_connection_reports; }
};

// Writes `bytes` to the file at `path` (its folder must exist).
void WriteBytes(const std::string& path, std::string_view bytes);

// A GameInfo with the given texts.
workflow::GameInfo MakeGame(const std::string& name, const std::string& id = "1001",
                            const std::string& server_id = "", const std::string& desc = "");

// A progress window created over its owner at the owner's rectangle less the inset, with its own
// folders and loop registry inside the test's temporary root.
class ClientDlgTest : public ::testing::Test {
 protected:
  ClientDlgTest();
  ~ClientDlgTest() override;

  // Delivers the messages posted to the windows so far.
  void DeliverMessages();
  // Delivers one expiry of the progress window's timer (which must be running).
  void FireTimer(ClientDlg::Timer timer);
  // Reports a status and delivers the refresh tick that shows it.
  void ShowStatus(int state_code, int percent, std::u16string_view key);
  // The game-bag folder of `game_id`, made, as UTF-8.
  std::string GameFolder(const std::string& game_id);

  qv::test::TempRoot root_;
  util::AppFolders folders_;
  core::RefPtr<core::MessageLoopContext> loops_;
  CountingDelegate delegate_;
  RecordingOwner owner_;
  std::unique_ptr<ClientDlg> dlg_;
};

}  // namespace qv::ui::test
