// ViewHost: what a view (ClientView, MainView) needs of the native window it lives in, common to
// both windows. Each backend's window implements the view's host interface (ClientHost,
// MainHost), which extends this one.
//
// Timers repeat until stopped (QBasicTimer, SetTimer); when one expires the backend calls the
// view's OnTimer with its id on the UI thread. A numbered message posted here reaches the view's
// OnMessage on the UI thread, in posting order, never inside the call that posts it.
//
// The names keep clear of the Windows headers' macros (PostMessage, ShowWindow, ...).
//
// Threads: every call on the window's UI thread, except PostViewMessage (any thread). The host
// outlives its view's use of it.
#pragma once

#include <cstdint>

namespace qv::ui {

class ViewHost {
 public:
  virtual ~ViewHost() = default;

  // Starts timer `id` to expire every `interval_ms`, restarting it when it runs.
  virtual void StartTimer(int id, int interval_ms) = 0;
  virtual void StopTimer(int id) = 0;
  // Asks for a new frame: the backend calls the view's Render soon (once for many asks).
  virtual void Repaint() = 0;
  // Renders and presents a new frame before returning.
  virtual void RepaintNow() = 0;
  // Queues numbered message `number` (controller/window_messages.h) for this window's view. Any
  // thread; the data the message refers to is written before the call.
  virtual void PostViewMessage(uint32_t number, uintptr_t wparam = 0, intptr_t lparam = 0) = 0;
};

}  // namespace qv::ui
