// The program's icons from its own ICON resources (107 the large one, 108 the small one), at the
// sizes the system asks for. Shared icons of the module: never destroyed. Any thread.
#pragma once

#include "platform/win32/windows_api.h"

namespace qv::ui::win32 {

inline constexpr int kLargeIconId = 107;
inline constexpr int kSmallIconId = 108;

enum class IconSize { kLarge, kSmall };

// Null when the program carries no such icon.
HICON LoadProgramIcon(int id, IconSize size);

}  // namespace qv::ui::win32
