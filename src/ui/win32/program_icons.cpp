#include "ui/win32/program_icons.h"

namespace qv::ui::win32 {

HICON LoadProgramIcon(int id, IconSize size) {
  const bool large = size == IconSize::kLarge;
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                       GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON),
                                       GetSystemMetrics(large ? SM_CYICON : SM_CYSMICON),
                                       LR_SHARED));
}

}  // namespace qv::ui::win32
