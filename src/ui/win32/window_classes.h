// The window classes of the two windows: "QVorvaneDownloader" (the main window) and
// "QVorvaneClient" (the progress window), both with the same members: CS_VREDRAW | CS_HREDRAW |
// CS_DBLCLKS | CS_OWNDC, the program icons (107 large, 108 small), the arrow cursor, the dark
// panel colour as background brush, no menu, NativeWindow's procedure. UI thread.
#pragma once

#include "platform/win32/windows_api.h"

namespace qv::ui::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"QVorvaneDownloader";
inline constexpr wchar_t kProgressWindowClass[] = L"QVorvaneClient";

// Registers `name` once per process; true when the class exists afterwards.
bool RegisterWindowClass(const wchar_t* name);

}  // namespace qv::ui::win32
