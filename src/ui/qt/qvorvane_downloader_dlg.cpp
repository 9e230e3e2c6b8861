#include "ui/qt/qvorvane_downloader_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QMetaObject>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimerEvent>
#include <QUrl>
#include <QWindow>

#include "controller/window_messages.h"
#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"
#include "ui/qt/surface_image.h"
#include "ui/qt/window_message.h"

namespace qv::ui {
namespace {

QIcon ProgramIcon() {
  QIcon icon;
  for (int id : {kLargeIcon, kSmallIcon}) {
    const QImage image = ToQImage(LoadPictureFromResource(id));
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

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QvorvaneDownloaderDlg::QvorvaneDownloaderDlg(MainWindowSetup setup)
    : folders_(*setup.folders),
      loops_(*setup.loops),
      open_url_(std::move(setup.open_url)),
      tray_available_(std::move(setup.tray_available)),
      view_(*this, std::move(static_cast<MainViewSetup&>(setup))) {
  setWindowTitle(QString::fromUtf8(MainView::kWindowTitle));
  resize(MainView::kInitialWidth, MainView::kInitialHeight);
}

QvorvaneDownloaderDlg::~QvorvaneDownloaderDlg() {
  if (tray_) tray_->hide();
  if (client_) client_->removeEventFilter(this);
}

void QvorvaneDownloaderDlg::PostViewMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) {
  PostWindowMessage(this, number, wparam, lparam);
}

Rect QvorvaneDownloaderDlg::WorkArea() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return Rect{0, 0, MainView::kCreateWidth, MainView::kCreateHeight};
  const QRect area = screen->availableGeometry();
  return Rect{area.x(), area.y(), area.width(), area.height()};
}

Rect QvorvaneDownloaderDlg::WindowRect() const {
  const QRect rect = geometry();
  return Rect{rect.x(), rect.y(), rect.width(), rect.height()};
}

void QvorvaneDownloaderDlg::SetWindowRect(const Rect& window_rect) {
  setGeometry(window_rect.left, window_rect.top, window_rect.width, window_rect.height);
}

ClientView* QvorvaneDownloaderDlg::CreateProgressWindow(const Rect& window_rect,
                                                        ClientView::Delegate& delegate) {
  if (client_) return &client_->view();
  auto client = std::make_unique<ClientDlg>(&delegate, folders_, loops_);
  if (!client->Create(this, window_rect)) return nullptr;
  client_ = std::move(client);
  client_->installEventFilter(this);  // to see its first paint
  return &client_->view();
}

void QvorvaneDownloaderDlg::ShowMain() {
  showNormal();  // also restores a minimised window
  raise();
  activateWindow();
  update();
}

void QvorvaneDownloaderDlg::HideProgress() {
  if (client_) client_->hide();
}

void QvorvaneDownloaderDlg::CreateTrayIcon(std::string_view tip) {
  tray_ = std::make_unique<QSystemTrayIcon>();
  tray_->setToolTip(FromUtf8(tip));
  QObject::connect(tray_.get(), &QSystemTrayIcon::activated, this,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     view_.HandleMessage(controller::WM_TRAY_ICON, 0, TrayMouseMessage(reason));
                   });
}

void QvorvaneDownloaderDlg::ShowTrayIcon() {
  if (tray_) tray_->show();
}

bool QvorvaneDownloaderDlg::TrayIconShown() const { return tray_ && tray_->isVisible(); }

bool QvorvaneDownloaderDlg::TrayAvailable() const {
  return tray_available_ ? tray_available_() : QSystemTrayIcon::isSystemTrayAvailable();
}

void QvorvaneDownloaderDlg::UseProgramIcon() {
  const QIcon icon = ProgramIcon();
  setWindowIcon(icon);
  if (tray_) tray_->setIcon(icon);
}

void QvorvaneDownloaderDlg::ShowNoConnectionBox(std::string_view caption, std::string_view text) {
  QMessageBox box(QMessageBox::Warning, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok, this);
  box.exec();
}

void QvorvaneDownloaderDlg::OpenUrl(const std::string& url) {
  if (open_url_) {
    open_url_(url);
  } else {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
  }
}

void QvorvaneDownloaderDlg::Quit(int exit_code) { QCoreApplication::exit(exit_code); }

void QvorvaneDownloaderDlg::BeginDrag() {
  if (QWindow* window = windowHandle()) window->startSystemMove();
}

void QvorvaneDownloaderDlg::RunLater(std::function<void()> call) {
  QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

// --- Events ------------------------------------------------------------------------------

void QvorvaneDownloaderDlg::paintEvent(QPaintEvent* event) {
  LayeredWindow::paintEvent(event);
  view_.OnFramePresented(false);
}

bool QvorvaneDownloaderDlg::eventFilter(QObject* watched, QEvent* event) {
  // The progress window's events include the window messages the workers post: their memory is
  // read here first, so this is where the hand-over from the posters is taken.
  SyncWithPosters();
  if (event->type() == QEvent::Paint && client_ && watched == client_.get()) {
    view_.OnFramePresented(true);
  }
  return LayeredWindow::eventFilter(watched, event);
}

void QvorvaneDownloaderDlg::timerEvent(QTimerEvent* event) {
  if (const int id = timers_.IdOf(event->timerId()); id != 0) {
    view_.OnTimer(id);
    return;
  }
  LayeredWindow::timerEvent(event);
}

void QvorvaneDownloaderDlg::closeEvent(QCloseEvent* event) {
  event->ignore();  // a close never destroys the window
  view_.OnSystemClose();
}

void QvorvaneDownloaderDlg::moveEvent(QMoveEvent* event) {
  LayeredWindow::moveEvent(event);
  view_.OnMovedOrRestored();
}

void QvorvaneDownloaderDlg::changeEvent(QEvent* event) {
  LayeredWindow::changeEvent(event);
  // Restored through the task bar: the progress window comes back.
  if (event->type() == QEvent::WindowStateChange) view_.OnMovedOrRestored();
}

void QvorvaneDownloaderDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return LayeredWindow::mousePressEvent(event);
  event->accept();
  const QPoint point = event->position().toPoint();
  view_.OnLeftButtonDown(Point{point.x(), point.y()});
}

void QvorvaneDownloaderDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return LayeredWindow::mouseReleaseEvent(event);
  event->accept();
  const QPoint point = event->position().toPoint();
  view_.OnLeftButtonUp(Point{point.x(), point.y()});
}

void QvorvaneDownloaderDlg::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();  // a double click on the strip neither maximises nor restores
}

}  // namespace qv::ui
