// GdiplusSession: GDI+ for the life of one scope. The program starts it once before any window
// exists and ends it after the message loop, when every worker loop has been stopped (nothing
// decodes or paints any more); tests start it themselves.
//
// Threads: created and destroyed on the same thread (the UI thread in the program).
#pragma once

#include <cstdint>

namespace qv::ui::win32 {

class GdiplusSession {
 public:
  // GdiplusStartup with version 1 and every other start-up member zero.
  GdiplusSession();
  // GdiplusShutdown, when the start-up succeeded.
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  // False when GDI+ could not be started: pictures then decode to null surfaces.
  bool started() const { return token_ != 0; }

 private:
  uintptr_t token_ = 0;
};

}  // namespace qv::ui::win32
