// Numbered window messages on the Qt event loop.
//
// A window that handles numbered messages (controller/window_messages.h) receives them as a
// WindowMessageEvent carrying the number and its two parameters, in LayeredWindow::
// OnWindowMessage. PostWindowMessage may be called from any thread: the event is queued to the
// target's thread and handled there in posting order. The target must still exist when the post
// is made; events still queued for a window that is destroyed are dropped with it.
#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>

namespace qv::ui {

class WindowMessageEvent : public QEvent {
 public:
  // The event type, registered with Qt on first use.
  static QEvent::Type EventType();

  WindowMessageEvent(uint32_t number, uintptr_t wparam, intptr_t lparam);

  uint32_t number() const { return number_; }
  uintptr_t wparam() const { return wparam_; }
  intptr_t lparam() const { return lparam_; }

 private:
  uint32_t number_;
  uintptr_t wparam_;
  intptr_t lparam_;
};

// Queues message `number` for `target`; false (nothing queued) when `target` is null.
bool PostWindowMessage(QObject* target, uint32_t number, uintptr_t wparam = 0, intptr_t lparam = 0);

// Orders everything a thread wrote before its PostWindowMessage before what the caller reads
// next. Qt's own hand-over of posted events already does so; this makes it visible to
// ThreadSanitizer, which cannot see inside the (uninstrumented) Qt libraries. Windows call it
// before they look at an event.
void SyncWithPosters();

}  // namespace qv::ui
