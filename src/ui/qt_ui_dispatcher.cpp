#include "ui/qt_ui_dispatcher.h"

#include <QCoreApplication>
#include <QEvent>

namespace qv::ui {
namespace {

QEvent::Type WorkEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

// One posted piece of work; Qt owns the event until it is delivered or dropped.
class WorkEvent final : public QEvent {
 public:
  explicit WorkEvent(std::function<void()> work) : QEvent(WorkEventType()), work_(std::move(work)) {}
  void Run() {
    if (work_) work_();
  }

 private:
  std::function<void()> work_;
};

}  // namespace

class QtUiDispatcher::Receiver final : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() != WorkEventType()) return QObject::event(event);
    static_cast<WorkEvent*>(event)->Run();
    return true;
  }
};

QtUiDispatcher::QtUiDispatcher() : receiver_(std::make_unique<Receiver>()) {}

QtUiDispatcher::~QtUiDispatcher() {
  std::unique_ptr<Receiver> receiver;
  {
    std::lock_guard<std::mutex> guard(lock_);
    receiver = std::move(receiver_);
  }
  // Destroying the receiver removes the events still queued for it, with their work.
}

void QtUiDispatcher::Post(std::function<void()> work) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!receiver_) return;
  QCoreApplication::postEvent(receiver_.get(), new WorkEvent(std::move(work)));
}

}  // namespace qv::ui
