// QtUiDispatcher: the core layer's way onto the UI thread (core::UiDispatcher), on the Qt event
// loop.
//
// Post wraps the work in an event for a receiver object that lives on the UI thread; Qt queues it
// and the UI thread's event loop runs it, in posting order, never inside Post. Work that has not
// run when the dispatcher goes (the event loop has ended by then) is destroyed unrun together
// with its event, and a Post made after that point is dropped.
//
// Threads: created and destroyed on the UI thread, after the QApplication exists and before it
// goes; Post may be called from any thread. The program keeps it until the controller's Stop.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

#include "core/ui_dispatcher.h"

namespace qv::ui {

class QtUiDispatcher final : public core::UiDispatcher {
 public:
  QtUiDispatcher();
  ~QtUiDispatcher() override;
  QtUiDispatcher(const QtUiDispatcher&) = delete;
  QtUiDispatcher& operator=(const QtUiDispatcher&) = delete;

  void Post(std::function<void()> work) override;

 private:
  class Receiver;

  std::mutex lock_;                     // orders Post against the destruction of the receiver
  std::unique_ptr<Receiver> receiver_;  // guarded by lock_; null once the dispatcher closes
};

}  // namespace qv::ui
