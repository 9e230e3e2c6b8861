// What the UI tests share: an owner window that records what reaches it, a delegate that counts
// the progress window's requests, and a fixture with a created progress window over its owner.
#pragma once

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <memory>
#include <string>
#include <vector>

#include "core/message_loop_context.h"
#include "core/ref_base.h"
#include "temp_root.h"
#include "core/game_records.h"
#include "ui/core/client_view.h"
#include "ui/core/composition.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "ui/qt/client_dlg.h"
#include "ui/qt/layered_window.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"

namespace qv::ui::test {

// The main window's stand-in: the frame, and a record of the messages and mouse input it gets.
class RecordingOwner : public LayeredWindow {
 public:
  // Takes the frame picture and its size; false without it.
  bool Init() {
    frame_ = LoadPictureFromResource(kFramePicture);
    if (frame_.IsNull()) return false;
    resize(frame_.width(), frame_.height());
    return true;
  }
  std::vector<uint32_t> messages;
  std::vector<std::pair<QEvent::Type, QPoint>> mouse;  // position in the owner's coordinates

 protected:
  void Render(Surface& surface) override { DrawPicture(surface, frame_, surface.Bounds()); }
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
  Surface frame_;
};

// A progress window created over its owner at the owner's rectangle less the inset, with its own
// folders and loop registry inside the test's temporary root.
class ClientDlgTest : public ::testing::Test {
 protected:
  ClientDlgTest();
  ~ClientDlgTest() override;

  // Delivers the messages posted to the windows so far.
  void DeliverMessages();
  // Delivers one expiry of the progress window's timer (which must be running) as Qt does.
  void FireTimer(int timer);
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
  ClientView* view_ = nullptr;  // dlg_'s
};

}  // namespace qv::ui::test
