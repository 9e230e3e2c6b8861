#include "ui/qt/client_dlg.h"

#include <QCoreApplication>
#include <QTimerEvent>

#include "ui/qt/input_shape.h"
#include "ui/qt/window_message.h"

namespace qv::ui {

ClientDlg::ClientDlg(ClientView::Delegate* delegate, util::AppFolders& folders,
                     core::MessageLoopContext& loops)
    : LayeredWindow(nullptr, Qt::Tool), view_(*this, delegate, folders, loops) {
  setMouseTracking(true);
}

ClientDlg::~ClientDlg() = default;

bool ClientDlg::Create(QWidget* owner, const Rect& window_rect) {
  setParent(owner, Qt::Tool | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(QString::fromLatin1(ClientView::kWindowTitle));
  setMouseTracking(true);
  create();
  if (windowHandle() == nullptr) return false;
  created_ = true;
  view_.OnCreated(window_rect);
  return true;
}

void ClientDlg::PostViewMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) {
  PostWindowMessage(this, number, wparam, lparam);
}

void ClientDlg::SetGeometry(const Rect& window_rect) {
  move(window_rect.left, window_rect.top);
  resize(window_rect.width, window_rect.height);
}

void ClientDlg::ShowWithOwner() {
  QWidget* owner = parentWidget();
  if (owner == nullptr) return;
  owner->show();
  show();
  raise();  // an owned window stays above its owner, also where no window manager keeps it so
}

bool ClientDlg::OwnerShown() const {
  const QWidget* owner = parentWidget();
  return owner == nullptr || (owner->isVisible() && !owner->isMinimized());
}

void ClientDlg::SetInputRegion(const Region& region) {
  if (created_) SetInputShape(*this, region);
}

void ClientDlg::SetHandCursor(bool hand) {
  if (hand) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
}

void ClientDlg::PostOwnerMessage(uint32_t number, uintptr_t wparam, intptr_t lparam) {
  PostWindowMessage(parentWidget(), number, wparam, lparam);
}

bool ClientDlg::OnMouse(QMouseEvent& event) {
  const QPoint position = event.position().toPoint();
  const Point point{position.x(), position.y()};
  bool taken = false;
  switch (event.type()) {
    case QEvent::MouseMove:
      taken = view_.OnMouseMove(point);
      break;
    case QEvent::MouseButtonRelease:
      taken = event.button() == Qt::LeftButton ? view_.OnLeftButtonUp(point)
                                               : view_.TakesMouseAt(point);
      break;
    default:
      taken = view_.OnMousePress(point);
      break;
  }
  if (!taken) PassMouseToOwner(event);
  return true;
}

void ClientDlg::leaveEvent(QEvent* event) {
  view_.OnMouseLeave();
  LayeredWindow::leaveEvent(event);
}

void ClientDlg::timerEvent(QTimerEvent* event) {
  if (const int id = timers_.IdOf(event->timerId()); id != 0) {
    view_.OnTimer(id);
    return;
  }
  LayeredWindow::timerEvent(event);
}

void ClientDlg::PassMouseToOwner(const QMouseEvent& event) {
  QWidget* owner = parentWidget();
  if (owner == nullptr) return;
  const QPointF global = event.globalPosition();
  QMouseEvent passed(event.type(), owner->mapFromGlobal(global), global, event.button(),
                     event.buttons(), event.modifiers(), event.pointingDevice());
  QCoreApplication::sendEvent(owner, &passed);
}

}  // namespace qv::ui
