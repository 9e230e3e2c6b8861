// The progress window's fixed layout: rectangles in client coordinates (physical pixels), font
// heights and colours. The main window uses the link rectangle and colours, and the inset, to
// handle presses that fall through the progress window onto the link.
#pragma once

#include <QColor>
#include <QRect>

namespace qv::ui {

// The progress window sits this far inside the main window on every side.
inline constexpr int kClientInset = 13;
// The progress window's client width and height with the shipped frame (584 x 410 less the inset).
inline constexpr int kClientWidth = 558;
inline constexpr int kClientHeight = 384;

// The rectangle from (left, top) to (right, bottom), right and bottom excluded.
QRect EdgeRect(int left, int top, int right, int bottom);

QRect TitleRect();
QRect HeaderRect(int client_width);
QRect DescriptionRect();
QRect ProgressBarRect();
QRect StatusRect();
QRect LinkRect();
QRect CloseButtonRect(int client_width);
QRect MinimiseButtonRect(int client_width);

// Font pixel heights.
inline constexpr int kTitleFontPixels = 13;
inline constexpr int kDescriptionFontPixels = 12;
inline constexpr int kStatusFontPixels = 12;
inline constexpr int kLinkFontPixels = 12;

inline constexpr QColor kTitleColor{206, 220, 230};
inline constexpr QColor kTextColor{121, 130, 139};
inline constexpr QColor kLinkColor{78, 161, 219};
inline constexpr QColor kLinkPressedColor{202, 12, 22};

}  // namespace qv::ui
