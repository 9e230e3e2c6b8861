#include "ui/win32/layered_painter.h"

#include <cstring>

#include "ui/win32/dib_section.h"

namespace qv::ui::win32 {

bool PaintLayered(HWND window, const Surface& surface) {
  if (window == nullptr || surface.IsNull()) return false;
  DibSection dib(surface.GetSize());
  if (!dib.valid()) return false;
  std::memcpy(dib.Row(0), surface.Pixels(), surface.ByteSize());
  RECT placed;
  if (!GetWindowRect(window, &placed)) return false;
  const LONG_PTR extended = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if ((extended & WS_EX_LAYERED) == 0) SetWindowLongPtrW(window, GWL_EXSTYLE, extended | WS_EX_LAYERED);
  HDC screen = GetDC(window);
  if (screen == nullptr) return false;
  POINT destination{placed.left, placed.top};
  SIZE size{surface.width(), surface.height()};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL updated = UpdateLayeredWindow(window, screen, &destination, &size, dib.dc(), &source,
                                           0, &blend, ULW_ALPHA);
  ReleaseDC(window, screen);
  return updated != FALSE;
}

}  // namespace qv::ui::win32
