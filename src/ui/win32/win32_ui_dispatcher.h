// Win32UiDispatcher: the core layer's way onto the UI thread (core::UiDispatcher), on the UI
// thread's window message loop.
//
// It owns a message-only window (parent HWND_MESSAGE) made on the UI thread. Post queues the
// work (UiWorkQueue) and posts one wake-up message per piece of work to that window
// (PostMessageW works from any thread); each wake-up runs the oldest piece, inside the UI
// thread's message loop. Work that has not run when the dispatcher goes (the message loop has
// ended by then) is destroyed unrun, and a Post made after that point is dropped.
//
// Threads: created and destroyed on the UI thread; Post from any thread. The program keeps it
// until the controller's Stop.
#pragma once

#include "platform/win32/windows_api.h"

#include <functional>

#include "core/ui_dispatcher.h"
#include "ui/core/ui_work_queue.h"

namespace qv::ui::win32 {

class Win32UiDispatcher final : public core::UiDispatcher {
 public:
  Win32UiDispatcher();
  ~Win32UiDispatcher() override;
  Win32UiDispatcher(const Win32UiDispatcher&) = delete;
  Win32UiDispatcher& operator=(const Win32UiDispatcher&) = delete;

  void Post(std::function<void()> work) override;

  // False when the system gave no message-only window: every Post is then dropped.
  bool valid() const { return window_ != nullptr; }

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                          LPARAM lparam);

  UiWorkQueue queue_;
  HWND window_ = nullptr;  // set before any Post; destroyed after the queue closed
};

}  // namespace qv::ui::win32
