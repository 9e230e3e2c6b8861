// QtUiDispatcher: the core layer's way onto the UI thread (core::UiDispatcher), on the Qt event
// loop.
//
// Post queues the work (UiWorkQueue) and posts one wake-up event per piece of work to a receiver
// object that lives on the UI thread; each wake-up runs the oldest piece. Work that has not run when the
// dispatcher goes (the event loop has ended by then) is destroyed unrun, and a Post made after
// that point is dropped.
//
// Threads: created and destroyed on the UI thread, after the QApplication exists and before it
// goes; Post may be called from any thread. The program keeps it until the controller's Stop.
#pragma once

#include <functional>
#include <memory>

#include "core/ui_dispatcher.h"
#include "ui/core/ui_work_queue.h"

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

  UiWorkQueue queue_;
  // Destroyed after the queue closed: no wake-up reaches it any more.
  std::unique_ptr<Receiver> receiver_;
};

}  // namespace qv::ui
