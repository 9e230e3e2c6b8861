// COM on the calling thread for the duration of one call into the shell (a single-threaded
// apartment, as the shell objects expect). Nests with an apartment the thread already has.
#pragma once

#include "platform/win32/windows_api.h"

#include <objbase.h>

namespace qv::platform::win32 {

class ComScope {
 public:
  ComScope()
      : initialized_(SUCCEEDED(
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  const bool initialized_;
};

}  // namespace qv::platform::win32
