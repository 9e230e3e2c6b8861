// A composed surface on screen through UpdateLayeredWindow: the first paint makes the window
// layered, the pixels land at the window's screen position, rows top-down, text colour shown.
#include "ui/win32/layered_painter.h"

#include <gtest/gtest.h>

namespace qv::ui::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QVorvaneLayeredPainterTest";

HWND MakePopup(int x, int y, int width, int height) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kClassName;
  RegisterClassExW(&window_class);
  return CreateWindowExW(0, kClassName, L"layered", WS_POPUP, x, y, width, height, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST(LayeredPainterTest, FirstPaintMakesTheWindowLayeredAndPutsTheSurfaceAtItsPosition) {
  HWND window = MakePopup(100, 80, 64, 48);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);

  // Opaque red above, opaque blue below: a flipped row order would swap them. On the right of
  // the blue, text as the composition leaves it: colour with alpha 0.
  Surface surface(64, 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      surface.Row(y)[x] = y < 24    ? PremultipliedPixel(255, 255, 0, 0)
                          : x < 32 ? PremultipliedPixel(255, 0, 0, 255)
                                   : PremultipliedPixel(0, 200, 100, 50);
    }
  }
  ASSERT_TRUE(PaintLayered(window, surface));
  EXPECT_NE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(PaintLayered(window, surface));  // a later paint finds the style set
  GdiFlush();
  EXPECT_EQ(ScreenPixel(100 + 10, 80 + 5), RGB(255, 0, 0));
  EXPECT_EQ(ScreenPixel(100 + 10, 80 + 40), RGB(0, 0, 255));
  // The text's colour is added to what lies beneath (the empty, black screen here), not left
  // out with its alpha.
  EXPECT_EQ(ScreenPixel(100 + 50, 80 + 40), RGB(200, 100, 50));

  EXPECT_FALSE(PaintLayered(window, Surface()));  // a null surface leaves the screen alone
  DestroyWindow(window);
}

}  // namespace
}  // namespace qv::ui::win32
