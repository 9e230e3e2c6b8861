// ClientView: the install progress window as the user sees it, without a toolkit. It draws
// everything the installer shows over the main window's frame: the title, the close and
// minimise buttons, the game's header picture, the description, the progress bar, the status line
// and, after a while, the "Play on Browser" link. The backend's progress window (ClientDlg on
// Linux, the "QVorvaneClient" window on Windows) implements ClientHost and hands the view its
// messages, timer expiries, mouse input and paints.
//
// Rendering: Render composes the whole surface: the pictures first (source-over), then the texts
// in a layer of their own merged with MergeTextLayer (added with alpha 0), so the opaque pixels
// of the finished surface are exactly those of the pictures; they become the input region
// (ClientHost::SetInputRegion), kept current also without a paint (after each layout and header).
//
// Timers (ids of ClientView::Timer): the refresh (150 ms) shows the latest status; the finish
// (800 ms after the completion status) asks the delegate to quit; the link offer (5 minutes after
// the first status) shows the link text.
//
// Threads: made, attached and destroyed on the UI thread, where OnMessage, OnTimer, the mouse
// entries and Render run. UpdateStatus, ApplyGameInfo, ShowDefaultHeader and OnGameInfo may be
// called from worker threads: each writes its data under the view's lock and then posts the
// view's message through the host; the UI thread reads the data under the same lock.
//
// Ownership: the backend's progress window owns the view; host, delegate (the main view),
// folders and loops are borrowed and outlive it. The game-bag task borrows the view as its
// delegate: the program stops the loops before it destroys the windows.
//
// Mouse: only the opaque pixels of its pictures (buttons, header, bar) take the mouse. Elsewhere
// (text, empty areas) input goes to the owner: the backend makes the input region the window's
// input shape, and passes a press, release or move the view does not take (TakesMouseAt false)
// on to the owner at the same screen position.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "controller/progress_status.h"
#include "core/message_loop_context.h"
#include "ui/core/description_wrap.h"
#include "ui/core/geometry.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "ui/core/surface.h"
#include "ui/core/text_renderer.h"
#include "ui/core/view_host.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"
#include "workflow/tasks/run_down_gamebag_task.h"

namespace qv::ui {

// What the progress view needs of its window beyond ViewHost.
class ClientHost : public ViewHost {
 public:
  // Moves and sizes the window to `window_rect` (screen coordinates) without showing it.
  virtual void SetGeometry(const Rect& window_rect) = 0;
  // Shows the window (above its owner).
  virtual void Show() = 0;
  // Shows the owner, then the window, and raises the window above it.
  virtual void ShowWithOwner() = 0;
  // Whether the owner is shown and not minimised (or the window has no owner).
  virtual bool OwnerShown() const = 0;
  // Makes `region` (client coordinates) the part of the window that takes the mouse.
  virtual void SetInputRegion(const Region& region) = 0;
  // The pointing-hand cursor over the buttons, or the normal one.
  virtual void SetHandCursor(bool hand) = 0;
  // Queues numbered message `number` for the owner (the main view). UI thread.
  virtual void PostOwnerMessage(uint32_t number, uintptr_t wparam = 0, intptr_t lparam = 0) = 0;
};

class ClientView : public workflow::RunDownGamebagTask::Delegate {
 public:
  // What the view asks of the main view.
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // The installation is complete and its status has been shown: end the program.
    virtual void Quit() = 0;
    // The installation ran out of attempts: tell the user the connection is lost, then end.
    virtual void ReportNoConnection() = 0;
  };

  // The view's timers (ids for ViewHost::StartTimer and OnTimer).
  enum Timer : int { kRefreshTimer = 1, kFinishTimer = 2, kOfferLinkTimer = 3 };
  static constexpr int kRefreshIntervalMs = 150;
  static constexpr int kFinishDelayMs = 800;
  static constexpr int kOfferLinkDelayMs = 5 * 60 * 1000;
  // The loop the game-bag download runs on.
  static constexpr char kGameBagLoop[] = "msg_loop_gamebag";
  // The window's title (its class name on Windows).
  static constexpr char kWindowTitle[] = "QVorvaneClient";

  // `folders` holds the game-bag folder the header pictures are read from; `loops` is where the
  // game-bag download is posted.
  ClientView(ClientHost& host, Delegate* delegate, util::AppFolders& folders,
             core::MessageLoopContext& loops);
  ~ClientView() override;
  ClientView(const ClientView&) = delete;
  ClientView& operator=(const ClientView&) = delete;

  // The backend made the window at `window_rect` (screen coordinates): lays it out, then shows
  // the owner and the window above it (ClientHost::ShowWithOwner). From here on messages are
  // posted.
  void OnCreated(const Rect& window_rect);
  // The window exists (OnCreated ran).
  bool HasWindow() const { return created_.load(); }

  // --- Any thread -------------------------------------------------------------------------
  // Takes a status report of the installing task (controller::ProgressStatus) and posts
  // WM_START_REFRESH.
  void UpdateStatus(int state_code, int percent, std::u16string_view status_key);
  // Copies `game` into the view, then posts WM_APPLY_GAME_INFO with `fetch_bag` (1: start the
  // game-bag download).
  void ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag);
  // Posts WM_DEFAULT_HEADER.
  void ShowDefaultHeader();
  // The game-bag task's result: copies the game and posts WM_APPLY_GAME_INFO with 0.
  bool OnGameInfo(const workflow::GameInfo& game, const bool& ok) override;
  // The copy of the game the view shows.
  workflow::GameInfo Game() const;

  // --- UI thread: what the backend hands over -----------------------------------------------
  // Numbered messages WM_APPLY_GAME_INFO, WM_DEFAULT_HEADER, WM_START_REFRESH; others are
  // ignored.
  void OnMessage(uint32_t number, uintptr_t wparam, intptr_t lparam);
  // Timer `id` expired.
  void OnTimer(int id);
  // Composes the whole window onto `surface` (transparent, of the window's size) with `text`
  // setting the texts, and keeps the input region current.
  void Render(Surface& surface, TextRenderer& text);
  // Mouse input at `client_point`. Each returns whether the view took it; the backend passes
  // input the view does not take to the owner. A move outside the input region also clears the
  // buttons' hover (where the window system has no input shape the pointer leaves them here).
  bool OnMouseMove(Point client_point);
  bool OnLeftButtonUp(Point client_point);
  // A press or double click: taken where the window takes the mouse, nothing else happens.
  bool OnMousePress(Point client_point) const { return TakesMouseAt(client_point); }
  // The pointer left the window.
  void OnMouseLeave();

  // --- UI thread: what the main view asks --------------------------------------------------
  // The window's screen rectangle as the main view places it (its own, inset).
  void SetWindowRect(const Rect& window_rect) { window_rect_ = window_rect; }
  Rect WindowRect() const { return window_rect_; }
  // Stores `window_rect` and moves the window there, showing it.
  void PlaceAt(const Rect& window_rect);
  // Clears both buttons' hover state and repaints (the main view, when it shows or hides the
  // windows).
  void ResetButtonHover();
  // The link: its rectangle (client coordinates), colour (kLinkColor or kLinkPressedColor; the
  // link is repainted), text and whether it is drawn.
  Rect LinkRect() const { return link_rect_; }
  void SetLinkColor(Color color);
  Color LinkColor() const { return link_color_; }
  std::u16string LinkText() const { return link_text_; }
  bool LinkShown() const;

  // --- UI thread: state, as shown ----------------------------------------------------------
  bool close_hovered() const { return close_hover_; }
  bool minimise_hovered() const { return minimise_hover_; }
  // Whether the window itself takes the mouse at `client_point`: the opaque pixels of the
  // pictures it draws.
  bool TakesMouseAt(Point client_point) const { return input_region_.Contains(client_point); }
  const Region& InputRegion() const { return input_region_; }
  std::u16string Title() const { return title_; }
  std::u16string Description() const { return description_; }
  std::u16string StatusLine() const { return status_line_; }
  int ShownProgress() const { return shown_percent_; }
  // The bar's fill rectangle as the last refresh computed it.
  Rect FillRect() const { return fill_rect_; }
  bool HasHeaderImage() const { return !header_picture_.IsNull(); }
  bool HeaderIsDefault() const { return header_is_default_; }
  // Whether timer `id` runs.
  bool TimerRunning(int id) const;
  // The fonts of the texts.
  static FontSpec TitleFont();
  static FontSpec TextFont();  // description and status
  static FontSpec LinkFont();

 private:
  // Layout: rectangles, colours, default texts; shows the window unless its owner is hidden or
  // minimised.
  void Layout();
  void ApplyGameInfoMessage(uintptr_t fetch_bag);
  void StartGameBagDownload(const workflow::GameInfo& game);
  // The game's install_head picture from its folder below the game-bag folder, when one decodes.
  void LoadHeaderFromGameFolder(const workflow::GameInfo& game);
  void UseDefaultHeaderIfNone();
  void StartRefresh();
  void RefreshTick();
  void OfferLink();
  void StartTimer(int id, int interval_ms);
  void StopTimer(int id);
  void ClearHover();
  void DrawPictures(Surface& surface);
  void DrawTexts(Surface& layer, TextRenderer& text);
  // Renders the pictures once so that the input region follows what is drawn now.
  void RefreshInputRegion();
  void UseInputRegion(Region region);

  ClientHost& host_;
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
  Rect window_rect_;
  Rect title_rect_, header_rect_, description_rect_, bar_rect_, status_rect_, fill_rect_;
  Rect close_rect_, minimise_rect_, link_rect_;
  Color link_color_;
  DescriptionWrapCache description_wrap_;
  Surface header_picture_;
  bool header_is_default_ = false;
  ResourcePicture default_header_{kDefaultHeaderPicture};
  ResourcePicture bar_sprite_{kProgressBarPicture};
  ResourcePicture close_picture_{kClosePicture}, close_hover_picture_{kCloseHoverPicture};
  ResourcePicture minimise_picture_{kMinimisePicture};
  ResourcePicture minimise_hover_picture_{kMinimiseHoverPicture};
  bool close_hover_ = false;
  bool minimise_hover_ = false;
  bool refresh_running_ = false, finish_running_ = false, offer_link_running_ = false;
  Region input_region_;
};

}  // namespace qv::ui
