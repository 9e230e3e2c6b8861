// QtUiDispatcher: the core layer's way onto the UI thread (core::UiDispatcher), on the Qt event
// loop.
//
// Post queues the work under the dispatcher's own lock and posts one wake-up event per piece of
// work to a receiver object that lives on the UI thread; each wake-up runs the oldest piece, so
// work runs in posting order, on the UI thread, never inside Post. The hand-over of the work
// itself goes through our lock, not through Qt's event queue. Work that has not run when the
// dispatcher goes (the event loop has ended by then) is destroyed unrun, and a Post made after
// that point is dropped.
//
// Threads: created and destroyed on the UI thread, after the QApplication exists and before it
// goes; Post may be called from any thread. The program keeps it until the controller's Stop.
#pragma once

#include <deque>
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
  // UI thread: runs the oldest queued piece of work.
  void RunNext();
  // UI thread: takes and drops the lock, so every post made so far happens before what follows.
  void SyncWithPosters();

  std::mutex lock_;
  std::deque<std::function<void()>> queue_;  // guarded by lock_
  std::unique_ptr<Receiver> receiver_;       // guarded by lock_; null once the dispatcher closes
};

}  // namespace qv::ui
