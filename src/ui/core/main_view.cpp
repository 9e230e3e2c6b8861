#include "ui/core/main_view.h"

#include <utility>

#include "controller/window_messages.h"
#include "qv/deployment_settings.h"
#include "ui/core/client_layout.h"
#include "ui/core/composition.h"
#include "ui/core/featured_game.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "workflow/tasks/status_keys.h"

namespace qv::ui {

MainView::MainView(MainHost& host, MainViewSetup setup)
    : host_(host),
      setup_(std::move(setup)),
      reports_(setup_.stats_base_url.empty() ? std::string(settings::kStatsBaseUrl)
                                             : setup_.stats_base_url) {}

MainView::~MainView() = default;

Rect MainView::CentredRect(const Rect& work_area) {
  return Rect{work_area.left + (work_area.width - kCreateWidth) / 2,
              work_area.top + (work_area.height - kCreateHeight) / 2, kCreateWidth,
              kCreateHeight};
}

bool MainView::TakeFramePicture() {
  if (frame_.IsNull() && setup_.frame_picture) frame_ = setup_.frame_picture();
  if (frame_.IsNull()) frame_ = LoadPictureFromResource(kFramePicture);
  if (!frame_.IsNull()) surface_size_ = frame_.GetSize();
  const Rect at = host_.WindowRect();
  host_.SetWindowRect(Rect{at.left, at.top, surface_size_.width, surface_size_.height});
  return !frame_.IsNull();
}

bool MainView::Create() {
  host_.SetWindowRect(CentredRect(host_.WorkArea()));
  if (!TakeFramePicture()) return false;

  if (client_ == nullptr) {
    ClientView* client = host_.CreateProgressWindow(InsetRect(host_.WindowRect()), *this);
    if (client == nullptr) return false;
    client_ = client;
    client_ready_.store(client_, std::memory_order_release);
  }

  // The icons are no part of the first frame: UseProgramIcon gives them after it.
  host_.CreateTrayIcon(kTrayTip);
  first_frame_wait_running_ = true;
  host_.StartTimer(kFirstFrameTimer, setup_.first_frame_wait_ms);
  return true;
}

void MainView::Render(Surface& surface) const { DrawPicture(surface, frame_, surface.Bounds()); }

// --- First frames and the installation's start ---------------------------------------------

void MainView::OnFramePresented(bool progress) {
  (progress ? progress_presented_ : frame_presented_) = true;
  if (!frame_presented_ || !progress_presented_ || start_queued_ || installation_started_) return;
  start_queued_ = true;
  host_.RunLater([this] { StartInstallation(); });
}

void MainView::OnTimer(int id) {
  if (id == kFirstFrameTimer && first_frame_wait_running_) StartInstallation();
}

void MainView::StartInstallation() {
  if (first_frame_wait_running_) {
    first_frame_wait_running_ = false;
    host_.StopTimer(kFirstFrameTimer);
  }
  if (installation_started_) return;
  installation_started_ = true;
  UseProgramIcon();
  if (setup_.start_installation) setup_.start_installation(*this);
}

void MainView::UseProgramIcon() {
  if (icon_given_) return;
  icon_given_ = true;
  host_.UseProgramIcon();
}

// --- The delegate of the progress view and the controller's side ------------------------------

void MainView::Quit() { host_.Quit(0); }

void MainView::ReportNoConnection() { host_.PostViewMessage(controller::WM_NO_CONNECTION); }

bool MainView::HasProgressWindow() const {
  return client_ready_.load(std::memory_order_acquire) != nullptr;
}

void MainView::ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) {
  if (ClientView* client = client_ready_.load(std::memory_order_acquire)) {
    client->ApplyGameInfo(game, fetch_bag);
  }
}

void MainView::ShowDefaultHeader() {
  if (ClientView* client = client_ready_.load(std::memory_order_acquire)) {
    client->ShowDefaultHeader();
  }
}

void MainView::StoreInstallRecord(const workflow::InstallRecord& record) {
  std::lock_guard<std::mutex> guard(record_lock_);
  record_ = record;
}

void MainView::UpdateStatus(std::u16string_view key, int state_code, int percent) {
  if (key == workflow::kStatusFailed) installation_failed_.store(true, std::memory_order_release);
  if (ClientView* client = client_ready_.load(std::memory_order_acquire)) {
    client->UpdateStatus(state_code, percent, key);
  }
}

workflow::InstallRecord MainView::Record() const {
  std::lock_guard<std::mutex> guard(record_lock_);
  return record_;
}

// --- Showing, hiding, closing ----------------------------------------------------------------

void MainView::ShowWindows(bool show) {
  if (show) {
    host_.ShowMain();  // also restores a minimised window
  } else {
    host_.HideMain();
  }
  if (client_ != nullptr) {
    if (show) {
      PlaceProgressWindow();
    } else {
      host_.HideProgress();
    }
    client_->ResetButtonHover();
  }
}

intptr_t MainView::HandleMessage(uint32_t number, uintptr_t /*wparam*/, intptr_t lparam) {
  switch (number) {
    case controller::WM_TRAY_ICON:
      if (lparam == kTrayLeftButtonDown) {
        Report(kTrayClickEvent);
        ShowWindows(true);
        return 0;
      }
      return lparam == kTrayRightButtonDown ? 0 : -1;
    case controller::WM_NO_CONNECTION:
      ShowNoConnection();
      return 0;
    case controller::WM_CLOSE_TO_TRAY:
      CloseToTray(CloseSource::kCloseButton);
      return 0;
    case controller::WM_MINIMIZE_BUTTON:
      Minimise();
      return 0;
    default:
      return 0;
  }
}

void MainView::OnSystemClose() { CloseToTray(CloseSource::kSystem); }

void MainView::CloseToTray(CloseSource source) {
  const WindowEvent& event =
      source == CloseSource::kCloseButton ? kCloseButtonEvent : kSystemCloseEvent;
  if (installation_failed_.load(std::memory_order_acquire)) {
    // Nothing is left to do: the program ends, so that a new start can try again.
    ShowWindows(false);
    Report(event);
    reports_.Flush();
    Quit();
    return;
  }
  if (!host_.TrayAvailable()) {
    MinimiseWindows();
    Report(event);
    return;
  }
  if (!host_.TrayIconShown()) {
    UseProgramIcon();  // a close before the first frame
    host_.ShowTrayIcon();
    ++tray_icon_adds_;
  }
  ShowWindows(false);
  Report(event);
}

void MainView::MinimiseWindows() {
  host_.MinimiseMain();
  if (client_ != nullptr) host_.HideProgress();  // it comes back when the window is restored
}

void MainView::Minimise() {
  MinimiseWindows();
  Report(kMinimiseButtonEvent);
}

void MainView::ShowNoConnection() {
  if (no_connection_shown_) return;
  no_connection_shown_ = true;
  ShowWindows(false);
  host_.ShowNoConnectionBox(kNoConnectionCaption, kNoConnectionText);
  Quit();
}

void MainView::PlaceProgressWindow() {
  if (client_ != nullptr) client_->PlaceAt(InsetRect(host_.WindowRect()));
}

void MainView::OnMovedOrRestored() {
  if (host_.MainShownNormally()) PlaceProgressWindow();
}

void MainView::Report(const WindowEvent& event) {
  reports_.Send(event.ex, Record(), event.op);
}

// --- Presses that fall through the progress window -------------------------------------------

bool MainView::OnLink(Point client_point) const {
  if (client_ == nullptr || !client_->LinkShown()) return false;
  return client_->LinkRect().Contains(
      Point{client_point.x - kClientInset, client_point.y - kClientInset});
}

void MainView::OnLeftButtonDown(Point client_point) {
  if (InDragStrip(client_point)) {
    host_.BeginDrag();
    return;
  }
  if (OnLink(client_point)) client_->SetLinkColor(kLinkPressedColor);
}

void MainView::OnLeftButtonUp(Point client_point) {
  if (InDragStrip(client_point) || !OnLink(client_point)) return;
  client_->SetLinkColor(kLinkColor);
  host_.OpenUrl(GamePageUrl(Record().game));
}

}  // namespace qv::ui
