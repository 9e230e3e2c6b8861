// One installer per user, and the hand-over of a second start to the running one.
//
// The running installer holds its name for its whole life; a second start that finds the name
// held asks the running instance to show its windows and exits 0. How the name is held and how
// the request travels is each system's own:
// - Linux (posix/socket_single_instance.h): an exclusive lock file and, beside it, a local socket
//   on which the running instance takes "show yourself" requests.
// - Windows: the named mutex `name` (in the log-on's local namespace, never closed while the
//   process lives); the request is the all-zero WM_COPYDATA sent to the running instance's main
//   window, found by its class: the identity text, which is `name` without kInstanceNameSuffix.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace qv::platform {

// An instance name is the installer's identity text followed by this suffix.
inline constexpr std::string_view kInstanceNameSuffix = "app_global_only_mutex";

enum class InstanceLockResult {
  kAcquired,       // this process is the only instance
  kHeldElsewhere,  // another process of this user holds the name
  kUnavailable,    // no lock could be made at all: start-up goes on as the only instance
};

// Held by the first instance for its whole life; belongs to the UI thread. What a system's
// holder offers beyond holding the name is in that system's own header.
class SingleInstance {
 public:
  // Tries to become the only instance named `name`.
  static InstanceLockResult Acquire(const std::string& name, std::unique_ptr<SingleInstance>& out);

  virtual ~SingleInstance() = default;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

 protected:
  SingleInstance() = default;
};

// The second start's hand-over: true when a running instance took the request.
bool SendShowRequest(const std::string& name);

}  // namespace qv::platform
