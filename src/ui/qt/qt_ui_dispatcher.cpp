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
  explicit Receiver(UiWorkQueue& queue) : queue_(queue) {}

  bool event(QEvent* event) override {
    // Every wake-up was made under the queue's lock: taking it first orders the poster's writes
    // (the event included) before this thread's reads. Qt's queue does so already, but out of
    // ThreadSanitizer's sight.
    queue_.SyncWithPosters();
    if (event->type() != WakeUpEventType()) return QObject::event(event);
    queue_.RunNext();
    return true;
  }

 private:
  UiWorkQueue& queue_;
};

QtUiDispatcher::QtUiDispatcher() : receiver_(std::make_unique<Receiver>(queue_)) {}

// The receiver takes its queued wake-ups with it; the work left was destroyed unrun by Close.
QtUiDispatcher::~QtUiDispatcher() { queue_.Close(); }

void QtUiDispatcher::Post(std::function<void()> work) {
  queue_.Post(std::move(work), [this] {
    QCoreApplication::postEvent(receiver_.get(), new QEvent(WakeUpEventType()));
    return true;
  });
}

}  // namespace qv::ui
