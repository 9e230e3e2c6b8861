// The short operating-system text sent with the platform's requests: name, "_", bitness.
#pragma once

#include <string>
#include <string_view>

namespace qv::util {

// The flags of the original's version table (1 "2000" ... 256 "Win10").
inline constexpr int kOsFlagCount = 9;

// The flag of the running Windows version; 0 on every other system, this one included.
int OsFlag();

// The names of the set flags joined by "/", then "_" and the suffix when the suffix is not empty
// (also when no flag is set: OsName(0, u"32") is "_32").
std::u16string OsName(int flags, std::u16string_view suffix);

// "64" or "32": the machine's bitness.
std::u16string Bitness();

// The system description of the requests: the system's name, "_" and Bitness(), for example
// "Linux_64". (On the original platform this was OsName(OsFlag(), Bitness()).)
std::u16string SystemDescription();

}  // namespace qv::util
