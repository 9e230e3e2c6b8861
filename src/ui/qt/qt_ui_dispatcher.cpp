#include "ui/qt/qt_ui_dispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace qv::ui {
namespace {

QEvent::Type WakeUpEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace

class QtUiDispatcher::Receiver final : public QObject {
 public:
  explicit Receiver(QtUiDispatcher* dispatcher) : dispatcher_(dispatcher) {}

  bool event(QEvent* event) override {
    // Every wake-up was made under the dispatcher's lock: taking it first orders the poster's
    // writes (the event included) before this thread's reads. Qt's queue does so already, but
    // out of ThreadSanitizer's sight.
    dispatcher_->SyncWithPosters();
    if (event->type() != WakeUpEventType()) return QObject::event(event);
    dispatcher_->RunNext();
    return true;
  }

 private:
  QtUiDispatcher* const dispatcher_;
};

QtUiDispatcher::QtUiDispatcher() : receiver_(std::make_unique<Receiver>(this)) {}

QtUiDispatcher::~QtUiDispatcher() {
  std::unique_ptr<Receiver> receiver;
  std::deque<std::function<void()>> unrun;
  {
    std::lock_guard<std::mutex> guard(lock_);
    receiver = std::move(receiver_);
    unrun.swap(queue_);
  }
  // The receiver takes its queued wake-ups with it; the work left is destroyed here, unrun.
}

void QtUiDispatcher::Post(std::function<void()> work) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!receiver_) return;
  queue_.push_back(std::move(work));
  QCoreApplication::postEvent(receiver_.get(), new QEvent(WakeUpEventType()));
}

void QtUiDispatcher::SyncWithPosters() { std::lock_guard<std::mutex> guard(lock_); }

void QtUiDispatcher::RunNext() {
  std::function<void()> work;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (queue_.empty()) return;
    work = std::move(queue_.front());
    queue_.pop_front();
  }
  if (work) work();
}

}  // namespace qv::ui
