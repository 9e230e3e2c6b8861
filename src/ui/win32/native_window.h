// NativeWindow: one top-level layered window of the Win32 backend, the part both windows share.
// It makes the window, keeps the view's timers (SetTimer; expiries come back as WM_TIMER), posts
// the numbered messages (PostMessageW, any thread, in posting order) and presents frames: a frame
// is composed by the owner (Handler::Compose) and put on screen with UpdateLayeredWindow. A
// repaint request is coalesced into one private message, so many requests make one frame; a
// WM_PAINT of the system presents a frame too. Every other message goes to the owner's handler,
// then to DefWindowProcW when the handler leaves it.
//
// Threads: made, used and destroyed on the UI thread; Post from any thread while the window
// exists (the program stops its worker loops before the windows go).
#pragma once

#include "platform/win32/windows_api.h"

#include <cstdint>
#include <optional>

#include "ui/core/geometry.h"
#include "ui/core/surface.h"

namespace qv::ui::win32 {

// The point a mouse message carries in lParam (client coordinates, or screen coordinates for
// WM_NCHITTEST), signed: a captured pointer left of or above the window gives negative values.
inline Point PointFromLParam(LPARAM lparam) {
  return Point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

class NativeWindow {
 public:
  // What the window's owner does with its messages and frames. UI thread.
  class Handler {
   public:
    virtual ~Handler() = default;
    // The message's result when the owner handled it; nullopt for DefWindowProcW.
    virtual std::optional<LRESULT> OnWindowMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // The whole frame, of the window's size.
    virtual Surface Compose() = 0;
    // A frame reached the window system.
    virtual void Presented() {}
  };

  explicit NativeWindow(Handler& handler) : handler_(handler) {}
  ~NativeWindow();
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;

  // Makes the window (hidden) at `rect` in screen coordinates; false when the system refuses.
  bool Create(const wchar_t* class_name, const wchar_t* title, DWORD extended_style, DWORD style,
              const Rect& rect, HWND owner);
  HWND handle() const { return window_; }
  // Destroys the window now (nothing when there is none); the handler gets no message after.
  void Destroy();

  void StartTimer(int id, int interval_ms);
  void StopTimer(int id);
  void Repaint();
  // Composes and presents a frame now; whether it reached the window system.
  bool RepaintNow();
  // Queues `number` for the window's procedure; any thread.
  void Post(uint32_t number, uintptr_t wparam, intptr_t lparam) const;

  // The procedure every window class of this backend registers.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  Handler& handler_;
  HWND window_ = nullptr;
  bool repaint_queued_ = false;
};

}  // namespace qv::ui::win32
