// The known folders on Windows, as the shell gives them (SHGetFolderPathW), without a trailing
// separator; the temporary folder from GetTempPathW, with its trailing '\'.
#include "platform/known_folders.h"

#include "platform/win32/windows_api.h"

#include <shlobj.h>

#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

// The folder's path as the system spells it; "" when the shell has none (a profile without
// that folder).
std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::string Utf8Folder(int csidl) { return win32::Utf8(ShellFolder(csidl)); }

// A folder whose UTF-16 name holds a lone surrogate has no UTF-8 spelling.
bool ConvertsExactly(const std::wstring& folder) {
  return folder.empty() ||
         WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, folder.data(),
                             static_cast<int>(folder.size()), nullptr, 0, nullptr, nullptr) > 0;
}

std::wstring WideTempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(path, length);
}

// The root of the drive Windows runs from ("C:").
std::wstring SystemDrive() {
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  return length >= 2 ? std::wstring(windows, 2) : std::wstring(L"C:");
}

}  // namespace

std::string HomeFolder() { return Utf8Folder(CSIDL_PROFILE); }
std::string LocalAppDataFolder() { return Utf8Folder(CSIDL_LOCAL_APPDATA); }
std::string RoamingAppDataFolder() { return Utf8Folder(CSIDL_APPDATA); }
std::string MachineRoot() { return win32::Utf8(SystemDrive()); }
std::string CommonAppDataFolder() { return Utf8Folder(CSIDL_COMMON_APPDATA); }
std::string TempFolder() { return win32::Utf8(WideTempFolder()); }
std::string DesktopFolder() { return Utf8Folder(CSIDL_DESKTOPDIRECTORY); }
std::string StartMenuFolder() { return Utf8Folder(CSIDL_STARTMENU); }

std::string FolderThatIsNotUtf8() {
  for (const std::wstring& folder :
       {ShellFolder(CSIDL_PROFILE), ShellFolder(CSIDL_LOCAL_APPDATA), ShellFolder(CSIDL_APPDATA),
        WideTempFolder(), ShellFolder(CSIDL_DESKTOPDIRECTORY), SystemDrive()}) {
    if (!ConvertsExactly(folder)) return win32::Utf8(folder);
  }
  return {};
}

}  // namespace qv::platform
