// The single instance on Windows: a named mutex in the log-on's local namespace, and the
// running instance's main window as the receiver of a second start's request.
#include "platform/single_instance.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

// Holds the mutex for the life of the process: the system releases it when the process ends,
// however it ends, so a second start is refused until then, shut-down included.
class MutexSingleInstance final : public SingleInstance {
 public:
  explicit MutexSingleInstance(win32::Handle mutex) : mutex_(std::move(mutex)) {}

 private:
  win32::Handle mutex_;
};

// The identity text: the name without its suffix (the whole name when it has none).
std::string IdentityOf(const std::string& name) {
  if (name.size() > kInstanceNameSuffix.size() && name.ends_with(kInstanceNameSuffix)) {
    return name.substr(0, name.size() - kInstanceNameSuffix.size());
  }
  return name;
}

}  // namespace

InstanceLockResult SingleInstance::Acquire(const std::string& name,
                                           std::unique_ptr<SingleInstance>& out) {
  out.reset();
  win32::Handle mutex(CreateMutexW(nullptr, FALSE, win32::Wide(name).c_str()));
  const DWORD error = GetLastError();
  // An existing mutex, or one of another user that this one may not open, is another instance.
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
    return InstanceLockResult::kHeldElsewhere;
  }
  if (!mutex) return InstanceLockResult::kUnavailable;
  out = std::make_unique<MutexSingleInstance>(std::move(mutex));
  return InstanceLockResult::kAcquired;
}

bool SendShowRequest(const std::string& name) {
  // Window class names match without regard to case: "QvorvaneDownloader" finds the class
  // "QVorvaneDownloader".
  HWND running =
      FindWindowExW(nullptr, nullptr, win32::Wide(IdentityOf(name)).c_str(), nullptr);
  if (running == nullptr || !IsWindow(running)) return false;
  COPYDATASTRUCT nothing{};  // no data travels: the message alone asks to be shown
  SendMessageW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&nothing));
  return true;
}

}  // namespace qv::platform
