// File times on the Win32 side: 100-nanosecond intervals since 1601-01-01 UTC.
#pragma once

#include "platform/win32/windows_api.h"

#include <chrono>
#include <cstdint>

namespace qv::platform::win32 {

inline FILETIME FileTimeOf(std::chrono::system_clock::time_point time) {
  // Intervals between 1601-01-01 (file times) and 1970-01-01 (the clock's epoch).
  constexpr int64_t kEpochOffset = 116444736000000000LL;
  const int64_t intervals =
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count() / 100 +
      kEpochOffset;
  return FILETIME{static_cast<DWORD>(intervals), static_cast<DWORD>(intervals >> 32)};
}

}  // namespace qv::platform::win32
