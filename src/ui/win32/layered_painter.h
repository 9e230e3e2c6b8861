// The layered windows' way to the screen: a composed Surface (premultiplied 0xAARRGGBB, rows
// top-down) is copied into a top-down 32-bit DIB section, which has the same layout, and handed
// to UpdateLayeredWindow with per-pixel alpha at the window's screen position. The window
// becomes a layered window on its first paint (WS_EX_LAYERED is added when missing). The window
// system then lets the mouse through wherever the alpha is 0.
//
// UI thread of the window.
#pragma once

#include "platform/win32/windows_api.h"

#include "ui/core/surface.h"

namespace qv::ui::win32 {

// Puts `surface` on screen as `window`'s content, its top-left at the window's screen position.
// False (the previous content stays) when the surface is null or the system refuses a step.
bool PaintLayered(HWND window, const Surface& surface);

}  // namespace qv::ui::win32
