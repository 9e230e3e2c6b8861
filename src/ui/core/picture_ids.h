// The ids of the program's picture resources (resources/manifest.txt).
#pragma once

namespace qv::ui {

inline constexpr int kLargeIcon = 107;
inline constexpr int kSmallIcon = 108;
inline constexpr int kFramePicture = 131;         // 584 x 410 frame of the main window
inline constexpr int kClosePicture = 132;         // 16 x 16, grey
inline constexpr int kMinimisePicture = 133;      // 16 x 16, grey
inline constexpr int kMinimiseHoverPicture = 134; // 16 x 16, orange
inline constexpr int kCloseHoverPicture = 135;    // 16 x 16, orange
inline constexpr int kProgressBarPicture = 136;   // 20 x 20 sprite: track rows 0-9, fill 10-19
inline constexpr int kDefaultHeaderPicture = 137; // 558 x 205 banner

}  // namespace qv::ui
