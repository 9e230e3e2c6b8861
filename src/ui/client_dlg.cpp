#include "ui/client_dlg.h"

#include "controller/window_messages.h"
#include "core/ref_base.h"
#include "ui/client_layout.h"
#include "ui/core/featured_game.h"
#include "ui/image_loader.h"
#include "ui/core/picture_ids.h"
#include "ui/progress_bar.h"
#include "ui/window_message.h"
#include "util/default_descriptions.h"
#include "util/file_system.h"
#include "util/language_selection.h"
#include "util/text_conversion.h"
#include "workflow/records/game_bag_record.h"
#include "workflow/packages/record_text.h"
#include "workflow/tasks/run_installing_task.h"

namespace qv::ui {
namespace {

constexpr char16_t kDefaultTitle[] = u"QVorvane";
// Shown after every layout until the next refresh tick, untranslated.
constexpr char16_t kLayoutStatusLine[] = u"Installing...";
constexpr char kPlayOnBrowserKey[] = "Play on Browser";
constexpr char kWindowTitle[] = "QVorvaneClient";
constexpr char16_t kHeaderPng[] = u"install_head.png";
constexpr char16_t kHeaderJpg[] = u"install_head.jpg";
// The one system language whose table has no paragraph for the featured game.
constexpr std::string_view kLanguageWithoutGameDescription = "th";
// The font every text of the window asks for; fontconfig substitutes an installed face.
constexpr char kFontFace[] = "Microsoft YaHei";

QFont MakeFont(int pixels, bool italic_and_underlined) {
  QFont font(QString::fromLatin1(kFontFace));
  font.setPixelSize(pixels);
  font.setWeight(QFont::Normal);
  font.setItalic(italic_and_underlined);
  font.setUnderline(italic_and_underlined);
  return font;
}

// The key's text in the interface language, the key given as wide text.
std::u16string TranslateWide(std::u16string_view key) {
  return util::Translate(util::WideToAnsi(key));
}

}  // namespace

ClientDlg::ClientDlg(Delegate* delegate, util::AppFolders& folders,
                     core::MessageLoopContext& loops)
    : LayeredWindow(nullptr, Qt::Tool), delegate_(delegate), folders_(folders), loops_(loops) {
  setMouseTracking(true);
}

ClientDlg::~ClientDlg() = default;

bool ClientDlg::Create(QWidget* owner, const QRect& window_rect) {
  window_rect_ = window_rect;
  setParent(owner, Qt::Tool | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(QString::fromLatin1(kWindowTitle));
  setMouseTracking(true);
  create();
  if (windowHandle() == nullptr) return false;
  created_ = true;
  Layout();
  if (owner != nullptr) {
    owner->show();
    show();
    raise();  // an owned window stays above its owner, also where no window manager keeps it so
  }
  return true;
}

void ClientDlg::Layout() {
  const QSize surface = window_rect_.size();
  move(window_rect_.topLeft());
  resize(surface);

  const int width = surface.width();
  title_rect_ = TitleRect();
  header_rect_ = HeaderRect(width);
  description_rect_ = DescriptionRect();
  bar_rect_ = ProgressBarRect();
  status_rect_ = StatusRect();
  link_rect_ = ui::LinkRect();
  close_rect_ = CloseButtonRect(width);
  minimise_rect_ = MinimiseButtonRect(width);
  title_color_ = kTitleColor;
  text_color_ = kTextColor;
  link_color_ = kLinkColor;

  if (title_.empty()) title_ = kDefaultTitle;
  if (description_.empty()) {
    const bool game_paragraph = util::SystemLanguageCode() != kLanguageWithoutGameDescription &&
                                IsFeaturedGame(Game());
    description_ = util::Translate(game_paragraph ? util::kGameDescription
                                                  : util::kPlatformDescription);
  }
  status_line_ = kLayoutStatusLine;
  MakeFonts();
  // The window is shown with its owner: a layout while the installer sits in the tray or is
  // minimised (a game bag arriving late) must not bring the content up without its frame.
  const QWidget* owner = parentWidget();
  if (owner == nullptr || (owner->isVisible() && !owner->isMinimized())) show();
  update();
  RefreshInputRegion();
}

// The pictures are decoded when first drawn (ResourcePicture).
void ClientDlg::MakeFonts() {
  title_font_ = MakeFont(kTitleFontPixels, false);
  description_font_ = MakeFont(kDescriptionFontPixels, false);
  status_font_ = MakeFont(kStatusFontPixels, false);
  link_font_ = MakeFont(kLinkFontPixels, true);
}

// --- Entries from worker threads ---------------------------------------------------------

void ClientDlg::UpdateStatus(int state_code, int percent, std::u16string_view status_key) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    status_.Update(status_key, state_code, percent);
  }
  if (created_) PostWindowMessage(this, controller::WM_START_REFRESH);
}

void ClientDlg::ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    game_ = game;
  }
  if (created_) PostWindowMessage(this, controller::WM_APPLY_GAME_INFO, fetch_bag);
}

void ClientDlg::ShowDefaultHeader() {
  if (created_) PostWindowMessage(this, controller::WM_DEFAULT_HEADER);
}

bool ClientDlg::OnGameInfo(const workflow::GameInfo& game, const bool& /*ok*/) {
  ApplyGameInfo(game, 0);
  return true;
}

workflow::GameInfo ClientDlg::Game() const {
  std::lock_guard<std::mutex> hold(lock_);
  return game_;
}

// --- Messages ----------------------------------------------------------------------------

void ClientDlg::OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t /*lparam*/) {
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

void ClientDlg::ApplyGameInfoMessage(uintptr_t fetch_bag) {
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

void ClientDlg::StartGameBagDownload(const workflow::GameInfo& game) {
  if (loops_.CreateLoop(kGameBagLoop) == 0) return;
  auto task = core::MakeRef<workflow::RunDownGamebagTask>(game, this, folders_);
  loops_.PostTask(kGameBagLoop, std::move(task));
}

void ClientDlg::LoadHeaderFromGameFolder(const workflow::GameInfo& game) {
  const std::u16string folder =
      workflow::GameBagGameFolder(workflow::RecordText(game.game_id), folders_);
  if (folder.empty()) return;  // an id that cannot name a folder
  for (const char16_t* name : {kHeaderPng, kHeaderJpg}) {
    const std::u16string path = folder + name;
    if (!util::IsFile(path)) continue;
    QImage image = LoadImageFromFile(path);
    if (image.isNull()) continue;  // a damaged picture does not replace a working one
    header_image_ = std::move(image);
    header_is_default_ = false;
    return;
  }
}

void ClientDlg::UseDefaultHeaderIfNone() {
  if (!header_image_.isNull()) return;
  header_image_ = default_header_.Get();
  header_is_default_ = !header_image_.isNull();
  update();
  RefreshInputRegion();
}

// --- Timers ------------------------------------------------------------------------------

void ClientDlg::StartRefresh() {
  if (refresh_timer_.isActive()) return;
  refresh_timer_.start(kRefreshIntervalMs, this);
  offer_link_timer_.start(kOfferLinkDelayMs, this);
}

void ClientDlg::timerEvent(QTimerEvent* event) {
  const int id = event->timerId();
  if (id == refresh_timer_.timerId() && refresh_timer_.isActive()) {
    RefreshTick();
  } else if (id == finish_timer_.timerId() && finish_timer_.isActive()) {
    finish_timer_.stop();
    if (delegate_ != nullptr) delegate_->Quit();
  } else if (id == offer_link_timer_.timerId() && offer_link_timer_.isActive()) {
    offer_link_timer_.stop();
    OfferLink();
  } else {
    LayeredWindow::timerEvent(event);
  }
}

void ClientDlg::RefreshTick() {
  controller::ProgressStatus status;
  {
    std::lock_guard<std::mutex> hold(lock_);
    status = status_;
  }
  if (status.state_code == workflow::kBudgetExhaustedStateCode) {
    refresh_timer_.stop();
    if (delegate_ != nullptr) delegate_->ReportNoConnection();
    return;
  }
  const std::u16string line = TranslateWide(status.key) + u" " +
                              util::AnsiToWide(std::to_string(status.percent)) + u"%";
  status_line_ = line;
  shown_percent_ = status.percent;
  fill_rect_ = ProgressFillRect(bar_rect_, shown_percent_);
  update();
  if (status.key == controller::kStatusCompleted) {
    refresh_timer_.stop();
    finish_timer_.start(kFinishDelayMs, this);
  }
}

void ClientDlg::OfferLink() {
  link_text_ = util::Translate(kPlayOnBrowserKey);
  update();
}

int ClientDlg::TimerId(Timer timer) const {
  const QBasicTimer& basic = timer == Timer::kRefresh  ? refresh_timer_
                             : timer == Timer::kFinish ? finish_timer_
                                                       : offer_link_timer_;
  return basic.isActive() ? basic.timerId() : 0;
}

// --- Placement and link ------------------------------------------------------------------

void ClientDlg::SetWindowRect(const QRect& window_rect) { window_rect_ = window_rect; }

void ClientDlg::PlaceAt(const QRect& window_rect) {
  window_rect_ = window_rect;
  move(window_rect_.topLeft());
  show();
}

void ClientDlg::SetLinkColor(const QColor& color) {
  link_color_ = color;
  update();
}

bool ClientDlg::LinkShown() const { return ui::LinkShown(link_text_, Game()); }

}  // namespace qv::ui
