// Owning handles for the kernel objects and registry keys the Win32 side opens.
#pragma once

#include "platform/win32/windows_api.h"

#include <memory>
#include <type_traits>

namespace qv::platform::win32 {

struct HandleCloser {
  void operator()(HANDLE handle) const {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
// A kernel object handle (file, mutex, process, snapshot), closed when it goes.
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// CreateFileW's failure is INVALID_HANDLE_VALUE, most others' is null: both are no handle here.
inline Handle OwnHandle(HANDLE handle) {
  return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace qv::platform::win32
