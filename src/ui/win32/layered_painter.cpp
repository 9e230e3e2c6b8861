#include "ui/win32/layered_painter.h"

#include <cstddef>
#include <cstdint>

#include "ui/win32/dib_section.h"

namespace qv::ui::win32 {

namespace {

// Text pixels carry colour with alpha 0: Windows adds such a pixel to what lies beneath, but a
// compatibility layer may leave every alpha-0 pixel out of the window altogether (Wine does),
// and the text with it. Alpha 1 shows the same on both: the colour added, what lies beneath
// kept at 254/255. The mouse still passes there: the windows' hit test answers from the views'
// input regions, not from the alpha.
constexpr uint32_t kTextAlpha = 0x01000000;

void CopyForScreen(const Surface& surface, uint32_t* to) {
  const uint32_t* from = surface.Pixels();
  const size_t count = surface.ByteSize() / sizeof(uint32_t);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t pixel = from[i];
    to[i] = pixel != 0 && PixelAlpha(pixel) == 0 ? pixel | kTextAlpha : pixel;
  }
}

}  // namespace

bool PaintLayered(HWND window, const Surface& surface) {
  if (window == nullptr || surface.IsNull()) return false;
  DibSection dib(surface.GetSize());
  if (!dib.valid()) return false;
  CopyForScreen(surface, dib.Row(0));
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
