#include "ui/core/client_view.h"

#include "controller/window_messages.h"
#include "core/ref_base.h"
#include "ui/core/client_layout.h"
#include "ui/core/featured_game.h"
#include "ui/core/progress_bar.h"
#include "util/default_descriptions.h"
#include "util/file_system.h"
#include "util/language_selection.h"
#include "util/text_conversion.h"
#include "workflow/packages/record_text.h"
#include "workflow/records/game_bag_record.h"
#include "workflow/tasks/run_installing_task.h"

namespace qv::ui {
namespace {

constexpr char16_t kDefaultTitle[] = u"QVorvane";
// Shown after every layout until the next refresh tick, untranslated.
constexpr char16_t kLayoutStatusLine[] = u"Installing...";
constexpr char kPlayOnBrowserKey[] = "Play on Browser";
constexpr char16_t kHeaderPng[] = u"install_head.png";
constexpr char16_t kHeaderJpg[] = u"install_head.jpg";
// The one system language whose table has no paragraph for the featured game.
constexpr std::string_view kLanguageWithoutGameDescription = "th";

FontSpec MakeFont(int pixels, bool italic_and_underlined) {
  return FontSpec{kClientFontFace, pixels, italic_and_underlined, italic_and_underlined};
}

// The key's text in the interface language, the key given as wide text.
std::u16string TranslateWide(std::u16string_view key) {
  return util::Translate(util::WideToAnsi(key));
}

}  // namespace

ClientView::ClientView(ClientHost& host, Delegate* delegate, util::AppFolders& folders,
                       core::MessageLoopContext& loops)
    : host_(host), delegate_(delegate), folders_(folders), loops_(loops) {}

ClientView::~ClientView() = default;

FontSpec ClientView::TitleFont() { return MakeFont(kTitleFontPixels, false); }
FontSpec ClientView::TextFont() { return MakeFont(kDescriptionFontPixels, false); }
FontSpec ClientView::LinkFont() { return MakeFont(kLinkFontPixels, true); }

void ClientView::OnCreated(const Rect& window_rect) {
  window_rect_ = window_rect;
  created_ = true;
  Layout();
  host_.ShowWithOwner();
}

void ClientView::Layout() {
  host_.SetGeometry(window_rect_);
  const int width = window_rect_.width;
  title_rect_ = TitleRect();
  header_rect_ = HeaderRect(width);
  description_rect_ = DescriptionRect();
  bar_rect_ = ProgressBarRect();
  status_rect_ = StatusRect();
  link_rect_ = ui::LinkRect();
  close_rect_ = CloseButtonRect(width);
  minimise_rect_ = MinimiseButtonRect(width);
  link_color_ = kLinkColor;

  if (title_.empty()) title_ = kDefaultTitle;
  if (description_.empty()) {
    const bool game_paragraph = util::SystemLanguageCode() != kLanguageWithoutGameDescription &&
                                IsFeaturedGame(Game());
    description_ = util::Translate(game_paragraph ? util::kGameDescription
                                                  : util::kPlatformDescription);
  }
  status_line_ = kLayoutStatusLine;
  // The window is shown with its owner: a layout while the installer sits in the tray or is
  // minimised (a game bag arriving late) must not bring the content up without its frame.
  if (host_.OwnerShown()) host_.Show();
  host_.Repaint();
  RefreshInputRegion();
}

// --- Entries from worker threads ---------------------------------------------------------

void ClientView::UpdateStatus(int state_code, int percent, std::u16string_view status_key) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    status_.Update(status_key, state_code, percent);
  }
  if (created_) host_.PostViewMessage(controller::WM_START_REFRESH);
}

void ClientView::ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    game_ = game;
  }
  if (created_) host_.PostViewMessage(controller::WM_APPLY_GAME_INFO, fetch_bag);
}

void ClientView::ShowDefaultHeader() {
  if (created_) host_.PostViewMessage(controller::WM_DEFAULT_HEADER);
}

bool ClientView::OnGameInfo(const workflow::GameInfo& game, const bool& /*ok*/) {
  ApplyGameInfo(game, 0);
  return true;
}

workflow::GameInfo ClientView::Game() const {
  std::lock_guard<std::mutex> hold(lock_);
  return game_;
}

// --- Messages ----------------------------------------------------------------------------

void ClientView::OnMessage(uint32_t number, uintptr_t wparam, intptr_t /*lparam*/) {
  switch (number) {
    case controller::WM_APPLY_GAME_INFO:
      ApplyGameInfoMessage(wparam);
      break;
    case controller::WM_DEFAULT_HEADER:
      UseDefaultHeaderIfNone();
      break;
    case controller::WM_START_REFRESH:
      StartRefresh();
      break;
    default:
      break;
  }
}

void ClientView::ApplyGameInfoMessage(uintptr_t fetch_bag) {
  const workflow::GameInfo game = Game();
  if (fetch_bag != 0) StartGameBagDownload(game);
  const std::string_view name = workflow::RecordText(game.game_name);
  if (!name.empty()) {
    const std::u16string title = util::Translate(util::WideToAnsi(util::AnsiToWide(name)));
    title_ = title.empty() ? kDefaultTitle : title;
    LoadHeaderFromGameFolder(game);
  }
  // While the bag is on its way the header stays empty: its own message brings the picture.
  if (fetch_bag == 0) UseDefaultHeaderIfNone();
  const std::u16string description = util::Translate(workflow::RecordText(game.desc));
  if (!description.empty() && description != description_) description_ = description;
  Layout();
}

void ClientView::StartGameBagDownload(const workflow::GameInfo& game) {
  if (loops_.CreateLoop(kGameBagLoop) == 0) return;
  auto task = core::MakeRef<workflow::RunDownGamebagTask>(game, this, folders_);
  loops_.PostTask(kGameBagLoop, std::move(task));
}

void ClientView::LoadHeaderFromGameFolder(const workflow::GameInfo& game) {
  const std::u16string folder =
      workflow::GameBagGameFolder(workflow::RecordText(game.game_id), folders_);
  if (folder.empty()) return;  // an id that cannot name a folder
  for (const char16_t* name : {kHeaderPng, kHeaderJpg}) {
    const std::u16string path = folder + name;
    if (!util::IsFile(path)) continue;
    Surface picture = LoadPictureFromFile(path);
    if (picture.IsNull()) continue;  // a damaged picture does not replace a working one
    header_picture_ = std::move(picture);
    header_is_default_ = false;
    return;
  }
}

void ClientView::UseDefaultHeaderIfNone() {
  if (!header_picture_.IsNull()) return;
  header_picture_ = default_header_.Get();
  header_is_default_ = !header_picture_.IsNull();
  host_.Repaint();
  RefreshInputRegion();
}

// --- Timers ------------------------------------------------------------------------------

void ClientView::StartTimer(int id, int interval_ms) {
  (id == kRefreshTimer ? refresh_running_
   : id == kFinishTimer ? finish_running_
                        : offer_link_running_) = true;
  host_.StartTimer(id, interval_ms);
}

void ClientView::StopTimer(int id) {
  (id == kRefreshTimer ? refresh_running_
   : id == kFinishTimer ? finish_running_
                        : offer_link_running_) = false;
  host_.StopTimer(id);
}

bool ClientView::TimerRunning(int id) const {
  switch (id) {
    case kRefreshTimer: return refresh_running_;
    case kFinishTimer: return finish_running_;
    case kOfferLinkTimer: return offer_link_running_;
    default: return false;
  }
}

void ClientView::StartRefresh() {
  if (refresh_running_) return;
  StartTimer(kRefreshTimer, kRefreshIntervalMs);
  StartTimer(kOfferLinkTimer, kOfferLinkDelayMs);
}

void ClientView::OnTimer(int id) {
  // An expiry already queued when its timer was stopped is dropped.
  if (!TimerRunning(id)) return;
  switch (id) {
    case kRefreshTimer:
      RefreshTick();
      break;
    case kFinishTimer:
      StopTimer(kFinishTimer);
      if (delegate_ != nullptr) delegate_->Quit();
      break;
    case kOfferLinkTimer:
      StopTimer(kOfferLinkTimer);
      OfferLink();
      break;
    default:
      break;
  }
}

void ClientView::RefreshTick() {
  controller::ProgressStatus status;
  {
    std::lock_guard<std::mutex> hold(lock_);
    status = status_;
  }
  if (status.state_code == workflow::kBudgetExhaustedStateCode) {
    StopTimer(kRefreshTimer);
    if (delegate_ != nullptr) delegate_->ReportNoConnection();
    return;
  }
  status_line_ = TranslateWide(status.key) + u" " +
                 util::AnsiToWide(std::to_string(status.percent)) + u"%";
  shown_percent_ = status.percent;
  fill_rect_ = ProgressFillRect(bar_rect_, shown_percent_);
  host_.Repaint();
  if (status.key == controller::kStatusCompleted) {
    StopTimer(kRefreshTimer);
    StartTimer(kFinishTimer, kFinishDelayMs);
  }
}

void ClientView::OfferLink() {
  link_text_ = util::Translate(kPlayOnBrowserKey);
  host_.Repaint();
}

// --- Placement and link ------------------------------------------------------------------

void ClientView::PlaceAt(const Rect& window_rect) {
  window_rect_ = window_rect;
  host_.SetGeometry(window_rect_);
  host_.Show();
}

void ClientView::SetLinkColor(Color color) {
  link_color_ = color;
  host_.Repaint();
}

bool ClientView::LinkShown() const { return ui::LinkShown(link_text_, Game()); }

}  // namespace qv::ui
