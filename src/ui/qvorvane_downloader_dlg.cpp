#include "ui/qvorvane_downloader_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimerEvent>
#include <QUrl>
#include <QWindow>

#include "controller/window_messages.h"
#include "qv/deployment_settings.h"
#include "ui/client_layout.h"
#include "ui/core/featured_game.h"
#include "ui/image_loader.h"
#include "ui/window_message.h"
#include "workflow/tasks/status_keys.h"

namespace qv::ui {
namespace {

constexpr char kWindowTitle[] = "QVorvaneDownloader";

QIcon ProgramIcon() {
  QIcon icon;
  for (int id : {QvorvaneDownloaderDlg::kLargeIconId, QvorvaneDownloaderDlg::kSmallIconId}) {
    const QImage image = LoadImageFromResource(id);
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

// The mouse message a click on the tray icon stands for.
intptr_t TrayMouseMessage(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger: return kTrayLeftButtonDown;
    case QSystemTrayIcon::Context: return kTrayRightButtonDown;
    case QSystemTrayIcon::DoubleClick: return kTrayLeftDoubleClick;
    case QSystemTrayIcon::MiddleClick: return kTrayMiddleButtonDown;
    case QSystemTrayIcon::Unknown: break;
  }
  return kTrayMouseMove;
}

QRect Inset(const QRect& rect) {
  return rect.adjusted(kClientInset, kClientInset, -kClientInset, -kClientInset);
}

}  // namespace

QvorvaneDownloaderDlg::QvorvaneDownloaderDlg(MainWindowSetup setup)
    : setup_(std::move(setup)),
      reports_(setup_.stats_base_url.empty() ? std::string(settings::kStatsBaseUrl)
                                             : setup_.stats_base_url) {
  setWindowTitle(QString::fromUtf8(kWindowTitle));
}

QvorvaneDownloaderDlg::~QvorvaneDownloaderDlg() {
  if (tray_) tray_->hide();
}

QRect QvorvaneDownloaderDlg::CentredRect(const QRect& work_area) {
  return QRect(work_area.left() + (work_area.width() - kCreateWidth) / 2,
               work_area.top() + (work_area.height() - kCreateHeight) / 2, kCreateWidth,
               kCreateHeight);
}

bool QvorvaneDownloaderDlg::Create() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect work_area =
      screen ? screen->availableGeometry() : QRect(0, 0, kCreateWidth, kCreateHeight);
  setGeometry(CentredRect(work_area));
  if (setup_.frame_picture) UseFramePicture(setup_.frame_picture());
  if (!Init()) return false;

  if (!client_) {
    auto client = std::make_unique<ClientDlg>(this, *setup_.folders, *setup_.loops);
    if (!client->Create(this, Inset(geometry()))) return false;
    client_ = std::move(client);
    client_ready_.store(client_.get(), std::memory_order_release);
  }

  // The icons are no part of the first frame: UseProgramIcon gives them after it.
  tray_ = std::make_unique<QSystemTrayIcon>();
  tray_->setToolTip(QString::fromUtf8(kTrayTip));
  QObject::connect(tray_.get(), &QSystemTrayIcon::activated, this,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     HandleMessage(controller::WM_TRAY_ICON, 0, TrayMouseMessage(reason));
                   });

  client_->installEventFilter(this);  // to see its first paint
  first_frame_wait_.start(setup_.first_frame_wait_ms, this);
  return true;
}

void QvorvaneDownloaderDlg::paintEvent(QPaintEvent* event) {
  BaseDlg::paintEvent(event);
  NoteFirstFrame(frame_painted_);
}

bool QvorvaneDownloaderDlg::eventFilter(QObject* watched, QEvent* event) {
  // The progress window's events include the window messages the workers post: their memory is
  // read here first, so this is where the hand-over from the posters is taken.
  SyncWithPosters();
  if (event->type() == QEvent::Paint && client_ && watched == client_.get()) {
    NoteFirstFrame(progress_painted_);
  }
  return BaseDlg::eventFilter(watched, event);
}

void QvorvaneDownloaderDlg::NoteFirstFrame(bool& painted) {
  painted = true;
  if (!frame_painted_ || !progress_painted_ || start_queued_ || installation_started_) return;
  start_queued_ = true;
  QMetaObject::invokeMethod(this, [this] { StartInstallation(); }, Qt::QueuedConnection);
}

void QvorvaneDownloaderDlg::timerEvent(QTimerEvent* event) {
  if (event->timerId() == first_frame_wait_.timerId() && first_frame_wait_.isActive()) {
    StartInstallation();
    return;
  }
  BaseDlg::timerEvent(event);
}

int QvorvaneDownloaderDlg::FirstFrameTimerId() const {
  return first_frame_wait_.isActive() ? first_frame_wait_.timerId() : 0;
}

void QvorvaneDownloaderDlg::StartInstallation() {
  first_frame_wait_.stop();
  if (installation_started_) return;
  installation_started_ = true;
  UseProgramIcon();
  if (setup_.start_installation) setup_.start_installation(*this);
}

void QvorvaneDownloaderDlg::UseProgramIcon() {
  if (icon_given_) return;
  icon_given_ = true;
  const QIcon icon = ProgramIcon();
  setWindowIcon(icon);
  if (tray_) tray_->setIcon(icon);
}

void QvorvaneDownloaderDlg::Quit() { QCoreApplication::exit(0); }

void QvorvaneDownloaderDlg::ReportNoConnection() {
  PostWindowMessage(this, controller::WM_NO_CONNECTION);
}

bool QvorvaneDownloaderDlg::HasProgressWindow() const {
  return client_ready_.load(std::memory_order_acquire) != nullptr;
}

void QvorvaneDownloaderDlg::ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) {
  if (ClientDlg* client = client_ready_.load(std::memory_order_acquire)) {
    client->ApplyGameInfo(game, fetch_bag);
  }
}

void QvorvaneDownloaderDlg::ShowDefaultHeader() {
  if (ClientDlg* client = client_ready_.load(std::memory_order_acquire)) {
    client->ShowDefaultHeader();
  }
}

void QvorvaneDownloaderDlg::StoreInstallRecord(const workflow::InstallRecord& record) {
  std::lock_guard<std::mutex> guard(record_lock_);
  record_ = record;
}

void QvorvaneDownloaderDlg::UpdateStatus(std::u16string_view key, int state_code, int percent) {
  if (key == workflow::kStatusFailed) installation_failed_.store(true, std::memory_order_release);
  if (ClientDlg* client = client_ready_.load(std::memory_order_acquire)) {
    client->UpdateStatus(state_code, percent, key);
  }
}

workflow::InstallRecord QvorvaneDownloaderDlg::Record() const {
  std::lock_guard<std::mutex> guard(record_lock_);
  return record_;
}

void QvorvaneDownloaderDlg::ShowWindows(bool show) {
  if (show) {
    showNormal();  // also restores a minimised window
    raise();
    activateWindow();
    update();
  } else {
    hide();
  }
  if (client_) {
    if (show) {
      PlaceProgressWindow();
    } else {
      client_->hide();
    }
    client_->ResetButtonHover();
    client_->update();
  }
}

intptr_t QvorvaneDownloaderDlg::HandleMessage(uint32_t number, uintptr_t /*wparam*/,
                                              intptr_t lparam) {
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

void QvorvaneDownloaderDlg::OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) {
  HandleMessage(number, wparam, lparam);
}

void QvorvaneDownloaderDlg::CloseToTray(CloseSource source) {
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
  if (!TrayAvailable()) {
    MinimiseWindows();
    Report(event);
    return;
  }
  if (tray_ && !tray_->isVisible()) {
    UseProgramIcon();  // a close before the first frame
    tray_->show();
    ++tray_icon_adds_;
  }
  ShowWindows(false);
  Report(event);
}

bool QvorvaneDownloaderDlg::TrayAvailable() const {
  return setup_.tray_available ? setup_.tray_available()
                               : QSystemTrayIcon::isSystemTrayAvailable();
}

void QvorvaneDownloaderDlg::MinimiseWindows() {
  showMinimized();
  if (client_) client_->hide();  // it comes back when the window is restored (changeEvent)
}

void QvorvaneDownloaderDlg::Minimise() {
  MinimiseWindows();
  Report(kMinimiseButtonEvent);
}

void QvorvaneDownloaderDlg::ShowNoConnection() {
  if (no_connection_shown_) return;
  no_connection_shown_ = true;
  ShowWindows(false);
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kNoConnectionCaption),
                  QString::fromUtf8(kNoConnectionText), QMessageBox::Ok, this);
  box.exec();
  Quit();
}

void QvorvaneDownloaderDlg::PlaceProgressWindow() {
  if (client_) client_->PlaceAt(Inset(geometry()));
}

void QvorvaneDownloaderDlg::Report(const WindowEvent& event) {
  reports_.Send(event.ex, Record(), event.op);
}

bool QvorvaneDownloaderDlg::OnLink(const QPoint& client_point) const {
  if (!client_ || !client_->LinkShown()) return false;
  return client_->LinkRect().contains(client_point - QPoint(kClientInset, kClientInset));
}

void QvorvaneDownloaderDlg::closeEvent(QCloseEvent* event) {
  event->ignore();  // a close never destroys the window
  CloseToTray(CloseSource::kSystem);
}

void QvorvaneDownloaderDlg::moveEvent(QMoveEvent* event) {
  BaseDlg::moveEvent(event);
  if (isVisible() && !isMinimized()) PlaceProgressWindow();
}

void QvorvaneDownloaderDlg::changeEvent(QEvent* event) {
  BaseDlg::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isVisible() && !isMinimized()) {
    PlaceProgressWindow();  // restored through the task bar: the progress window comes back
  }
}

void QvorvaneDownloaderDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return BaseDlg::mousePressEvent(event);
  const QPoint point = event->position().toPoint();
  event->accept();
  if (InDragStrip(point)) {
    if (QWindow* window = windowHandle()) window->startSystemMove();
    return;
  }
  if (OnLink(point)) client_->SetLinkColor(kLinkPressedColor);
}

void QvorvaneDownloaderDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return BaseDlg::mouseReleaseEvent(event);
  const QPoint point = event->position().toPoint();
  event->accept();
  if (InDragStrip(point) || !OnLink(point)) return;
  client_->SetLinkColor(kLinkColor);
  const std::string url = GamePageUrl(Record().game);
  if (setup_.open_url) {
    setup_.open_url(url);
  } else {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
  }
}

void QvorvaneDownloaderDlg::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();  // a double click on the strip neither maximises nor restores
}

}  // namespace qv::ui
