// The progress window's fixed layout: rectangles in client coordinates (physical pixels), font
// heights and colours. The main window uses the link rectangle and colours, and the inset, to
// handle presses that fall through the progress window onto the link.
#pragma once

#include "ui/core/geometry.h"

namespace qv::ui {

// The progress window sits this far inside the main window on every side.
inline constexpr int kClientInset = 13;
// The progress window's client width and height with the shipped frame (584 x 410 less the inset).
inline constexpr int kClientWidth = 558;
inline constexpr int kClientHeight = 384;

constexpr Rect TitleRect() { return Rect::FromEdges(16, 3, 320, 50); }
constexpr Rect HeaderRect(int client_width) { return Rect::FromEdges(0, 30, client_width, 235); }
constexpr Rect DescriptionRect() { return Rect::FromEdges(16, 265, 536, 345); }
constexpr Rect ProgressBarRect() { return Rect::FromEdges(16, 345, 543, 355); }
constexpr Rect StatusRect() { return Rect::FromEdges(16, 360, 360, 385); }
constexpr Rect LinkRect() { return Rect::FromEdges(200, 360, 320, 385); }
constexpr Rect CloseButtonRect(int client_width) {
  return Rect::FromEdges(client_width - 23, 8, client_width - 7, 24);
}
constexpr Rect MinimiseButtonRect(int client_width) {
  return Rect::FromEdges(client_width - 44, 8, client_width - 28, 24);
}

// The progress window's screen rectangle inside the main window's `main_rect`.
constexpr Rect InsetRect(const Rect& main_rect) {
  return Rect{main_rect.left + kClientInset, main_rect.top + kClientInset,
              main_rect.width - 2 * kClientInset, main_rect.height - 2 * kClientInset};
}

// Font pixel heights.
inline constexpr int kTitleFontPixels = 13;
inline constexpr int kDescriptionFontPixels = 12;
inline constexpr int kStatusFontPixels = 12;
inline constexpr int kLinkFontPixels = 12;
// The face every text of the progress window asks for; the backend substitutes an installed face
// where it is missing (fontconfig on Linux, the font replacements under Wine).
inline constexpr char16_t kClientFontFace[] = u"Microsoft YaHei";

inline constexpr Color kTitleColor{206, 220, 230};
inline constexpr Color kTextColor{121, 130, 139};
inline constexpr Color kLinkColor{78, 161, 219};
inline constexpr Color kLinkPressedColor{202, 12, 22};

}  // namespace qv::ui
