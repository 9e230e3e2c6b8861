// ClientDlg: the install progress window. It draws everything the installer shows over the main
// window's frame: the title, the close and minimise buttons, the game's header picture, the
// description, the progress bar, the status line and, after a while, the "Play on Browser" link.
//
// Threads: made, created, shown and destroyed on the UI thread, where its messages, timers and
// paints run. Three entries may be called from worker threads: UpdateStatus (the installing
// loop, through the main window), ApplyGameInfo (the same) and OnGameInfo (the game-bag loop).
// Each writes its data under the window's lock and then posts the window's message; the UI
// thread reads the data under the same lock when the message or a timer tick arrives.
//
// Ownership: the main window owns it (as its Qt child window, or through a unique_ptr); the
// delegate (the main window) is borrowed and outlives it. The game-bag task borrows the window as
// its delegate: the program stops the loops before it destroys the windows.
//
// Mouse: only the opaque pixels of its pictures (buttons, header, bar) take the mouse. Elsewhere
// (text, empty areas) input goes to the owner: through the window's input shape on X11, and
// on any platform a press, release or move that still arrives outside that region is passed on to
// the owner at the same screen position.
#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "controller/progress_status.h"
#include "core/message_loop_context.h"
#include "ui/description_wrap.h"
#include "ui/image_loader.h"
#include "ui/core/picture_ids.h"
#include "ui/layered_window.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"
#include "workflow/tasks/run_down_gamebag_task.h"

namespace qv::ui {

class ClientDlg : public LayeredWindow, public workflow::RunDownGamebagTask::Delegate {
 public:
  // What the window asks of the main window.
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // The installation is complete and its status has been shown: end the program.
    virtual void Quit() = 0;
    // The installation ran out of attempts: tell the user the connection is lost, then end.
    virtual void ReportNoConnection() = 0;
  };

  // The window's timers.
  enum class Timer { kRefresh, kFinish, kOfferLink };
  static constexpr int kRefreshIntervalMs = 150;
  static constexpr int kFinishDelayMs = 800;
  static constexpr int kOfferLinkDelayMs = 5 * 60 * 1000;
  // The loop the game-bag download runs on.
  static constexpr char kGameBagLoop[] = "msg_loop_gamebag";

  // `folders` holds the game-bag folder the header pictures are read from; `loops` is where the
  // game-bag download is posted. Both are borrowed and outlive the window.
  explicit ClientDlg(Delegate* delegate, util::AppFolders& folders = util::ProcessAppFolders(),
                     core::MessageLoopContext& loops = core::MessageLoopContext::Instance());
  ~ClientDlg() override;

  // Makes the window a frameless tool window owned by `owner` at `window_rect` (screen
  // coordinates), lays it out and shows it, then shows the owner. False when it cannot be made.
  bool Create(QWidget* owner, const QRect& window_rect);
  // The window exists (Create succeeded).
  bool HasWindow() const { return created_.load(); }
  // The window, or null before Create.
  QWidget* Window() { return created_.load() ? this : nullptr; }

  // --- Any thread -------------------------------------------------------------------------
  // Takes a status report of the installing task (controller::ProgressStatus) and posts
  // WM_START_REFRESH.
  void UpdateStatus(int state_code, int percent, std::u16string_view status_key);
  // Copies `game` into the window, then posts WM_APPLY_GAME_INFO with `fetch_bag` (1: start the
  // game-bag download).
  void ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag);
  // Posts WM_DEFAULT_HEADER.
  void ShowDefaultHeader();
  // The game-bag task's result: copies the game and posts WM_APPLY_GAME_INFO with 0.
  bool OnGameInfo(const workflow::GameInfo& game, const bool& ok) override;

  // --- UI thread --------------------------------------------------------------------------
  // The window's screen rectangle as the main window places it (its own, inset).
  void SetWindowRect(const QRect& window_rect);
  QRect WindowRect() const { return window_rect_; }
  // Stores `window_rect` and moves the window there, showing it.
  void PlaceAt(const QRect& window_rect);

  // The link: its rectangle (client coordinates), colour (kLinkColor or kLinkPressedColor; the
  // link is repainted), text and whether it is drawn.
  QRect LinkRect() const { return link_rect_; }
  void SetLinkColor(const QColor& color);
  QColor LinkColor() const { return link_color_; }
  std::u16string LinkText() const { return link_text_; }
  bool LinkShown() const;
  // The copy of the game the window shows.
  workflow::GameInfo Game() const;

  // Clears both buttons' hover state and repaints them (the main window, when it shows or hides
  // the windows).
  void ResetButtonHover();
  bool close_hovered() const { return close_hover_; }
  bool minimise_hovered() const { return minimise_hover_; }

  // Whether the window itself takes the mouse at `client_point`: the opaque pixels of the
  // pictures it draws.
  bool TakesMouseAt(const QPoint& client_point) const;
  QRegion InputRegion() const { return input_region_; }

  // The texts as shown.
  std::u16string Title() const { return title_; }
  std::u16string Description() const { return description_; }
  std::u16string StatusLine() const { return status_line_; }
  int ShownProgress() const { return shown_percent_; }
  // The bar's fill rectangle as the last refresh computed it.
  QRect FillRect() const { return fill_rect_; }
  bool HasHeaderImage() const { return !header_image_.isNull(); }
  bool HeaderIsDefault() const { return header_is_default_; }

  // The Qt timer id of a running timer, 0 when it is stopped (tests deliver its QTimerEvent).
  int TimerId(Timer timer) const;

 protected:
  void Draw(QImage& surface) override;
  void OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) override;
  bool OnMouse(QMouseEvent& event) override;
  void leaveEvent(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // Layout: rectangles, fonts, colours, default texts, missing pictures; shows the window
  // unless its owner is hidden or minimised.
  void Layout();
  void MakeFonts();
  void ApplyGameInfoMessage(uintptr_t fetch_bag);
  void StartGameBagDownload(const workflow::GameInfo& game);
  // The game's install_head picture from its folder below the game-bag folder, when one decodes.
  void LoadHeaderFromGameFolder(const workflow::GameInfo& game);
  void UseDefaultHeaderIfNone();
  void StartRefresh();
  void RefreshTick();
  void OfferLink();
  // Mouse input inside the window; false when it is not taken.
  bool HandleMouseMove(const QPoint& point);
  bool HandleMouseRelease(const QPoint& point);
  void ClearHover();
  void PassMouseToOwner(const QMouseEvent& event);
  void DrawPictures(QPainter& painter);
  void DrawTexts(QPainter& painter);
  // Renders the pictures once so that the input region follows what is drawn now.
  void RefreshInputRegion();
  // Makes `region` the input region (and the window's input shape once it exists).
  void UseInputRegion(const QRegion& region);

  Delegate* const delegate_;
  util::AppFolders& folders_;
  core::MessageLoopContext& loops_;
  std::atomic<bool> created_{false};

  // Written by worker threads and read by the UI thread, both under lock_.
  mutable std::mutex lock_;
  controller::ProgressStatus status_;
  workflow::GameInfo game_;

  // UI thread only.
  std::u16string title_;
  std::u16string description_;
  std::u16string status_line_;
  std::u16string link_text_;
  int shown_percent_ = 0;  // the progress as of the last refresh tick
  QRect window_rect_;
  QRect title_rect_, header_rect_, description_rect_, bar_rect_, status_rect_, fill_rect_;
  QRect close_rect_, minimise_rect_, link_rect_;
  QColor title_color_, text_color_, link_color_;
  QFont title_font_, description_font_, status_font_, link_font_;
  DescriptionWrapCache description_wrap_;
  QImage header_image_;
  bool header_is_default_ = false;
  ResourcePicture default_header_{kDefaultHeaderPicture};
  ResourcePicture bar_sprite_{kProgressBarPicture};
  ResourcePicture close_image_{kClosePicture}, close_hover_image_{kCloseHoverPicture};
  ResourcePicture minimise_image_{kMinimisePicture}, minimise_hover_image_{kMinimiseHoverPicture};
  bool close_hover_ = false;
  bool minimise_hover_ = false;
  QBasicTimer refresh_timer_, finish_timer_, offer_link_timer_;
  QRegion input_region_;
};

}  // namespace qv::ui
