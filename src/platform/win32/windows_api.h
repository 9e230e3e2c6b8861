// <windows.h> for the Win32 side, without the macros that would rename the platform layer's own
// functions: the system header maps names such as GetPrivateProfileString to their ANSI
// variants, which would silently turn our definitions and calls into other functions. Every
// Win32 file includes this header instead of <windows.h> and calls the wide functions by their
// full names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef GetPrivateProfileString
#undef GetPrivateProfileInt
#undef WritePrivateProfileString
#undef FindResource
#undef CreateMutex
#undef MoveFile
#undef DeleteFile
#undef CopyFile
#undef GetFileAttributes
