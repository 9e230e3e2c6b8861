// The numbered messages the controller and the windows exchange. The numbers are part of the
// windows' contract and stay as they are.
#pragma once

#include <cstdint>

namespace qv::controller {

// To the progress window.
inline constexpr uint32_t WM_APPLY_GAME_INFO = 3024;  // wParam 1: fetch the game bag
inline constexpr uint32_t WM_DEFAULT_HEADER = 3025;
inline constexpr uint32_t WM_START_REFRESH = 3026;
// To the main window.
inline constexpr uint32_t WM_TRAY_ICON = 4024;
inline constexpr uint32_t WM_NO_CONNECTION = 4025;
inline constexpr uint32_t WM_CLOSE_TO_TRAY = 4026;
inline constexpr uint32_t WM_MINIMIZE_BUTTON = 4027;

}  // namespace qv::controller
