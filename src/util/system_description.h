// The short operating-system text sent with the platform's requests: name, "_", bitness.
#pragma once

#include <string>
#include <string_view>

#include "platform/system_info.h"

namespace qv::util {

// The flags of the original's version table (1 "2000" ... 256 "Win10").
inline constexpr int kOsFlagCount = 9;

// The flag of a Windows version: NT 5.0 gives 1 (2 for a server, known only from the extended
// answer), 5.1 gives 4, 5.2 gives 8; 6.0 gives 16 (32 for a server), 6.1 gives 64, 6.2 and
// later 256; anything else, and a system outside the NT family, 0.
int OsFlagOf(const platform::WindowsVersion& version);

// The flag of the running Windows version; 0 on every other system.
int OsFlag();

// The names of the set flags joined by "/", then "_" and the suffix when the suffix is not empty
// (also when no flag is set: OsName(0, u"32") is "_32").
std::u16string OsName(int flags, std::u16string_view suffix);

// "64" or "32": the machine's bitness.
std::u16string Bitness();

// The system description of the requests: on Windows OsName(OsFlag(), Bitness()), "Win10_64";
// on another system its name, "_" and Bitness(), for example "Linux_64".
std::u16string SystemDescription();

}  // namespace qv::util
