// The registry keys and value names the installer writes to register the platform and reads
// back to recognise an existing installation, plus the foreign keys it looks at. Key names match
// without regard to case, so one spelling serves the writer and the reader.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::workflow {

// URL protocol, below the classes root.
inline constexpr std::string_view kProtocolKey = "QVorvane";
inline constexpr std::string_view kProtocolIconKey = "QVorvane\\DefaultIcon";
inline constexpr std::string_view kProtocolCommandKey = "QVorvane\\shell\\open\\command";
inline constexpr std::string_view kProtocolDescription = "QVorvane protocol";
inline constexpr std::string_view kProtocolMarkerValue = "URL Protocol";

// App Paths and the uninstall entry, below the machine root or the current user.
inline constexpr std::string_view kAppPathsKey =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QVORVANE.EXE";
inline constexpr std::string_view kUninstallKey =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qvorvane";
inline constexpr std::string_view kInstallLocationValue = "InstallLocation";

// The client as App Paths and the uninstall entry name it, in the install folder.
inline constexpr std::u16string_view kRegisteredClientExecutable = u"QVORVANE.EXE";
// The client as the start-up entry names it, in the platform folder.
inline constexpr std::u16string_view kAutoStartClientExecutable = u"qvorvane.exe";

// The current user's start-up programs, and our value there.
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kAutoStartValue = "qvorvane";

// Largest registry text the install steps read back: 259 characters and the NUL, in UTF-16.
inline constexpr size_t kInstallPathMaxBytes = 520;

}  // namespace qv::workflow
