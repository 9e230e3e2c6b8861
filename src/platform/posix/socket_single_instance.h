// The Linux side of the single instance (platform/single_instance.h).
//
// The first instance takes an exclusive flock on "<folder>/<name>.lock" and keeps it for the rest
// of its life (the kernel drops it when the process ends, however it ends), then listens on the
// local socket "<folder>/<name>.sock". A second start cannot take the lock; it connects to the
// socket, sends the "show yourself" request and waits until the running instance has taken it,
// then exits 0. When nothing listens (the first instance has not opened its socket yet, or is
// ending) the second start exits 0 without a message. The folder is $XDG_RUNTIME_DIR, else the
// user's cache folder ($XDG_CACHE_HOME, else ~/.cache); both belong to the user alone.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/posix/os_handles.h"
#include "platform/single_instance.h"

namespace qv::platform {

// The folder that holds the lock file and the socket.
std::string InstanceFolder();

class SocketSingleInstance final : public SingleInstance {
 public:
  // Tries to become the only instance named `name` (a plain file name).
  static InstanceLockResult Acquire(const std::string& name,
                                    std::unique_ptr<SocketSingleInstance>& out);

  // Removes the socket while the lock is still held, then lets the lock go.
  ~SocketSingleInstance() override;

  // Readable when a second start waits; -1 when the socket could not be opened (the lock still
  // holds). For the UI's socket notifier.
  int listen_fd() const { return listener_.get(); }

  // Answers every request that waits now, without blocking for new ones; returns how many were
  // "show yourself" requests.
  int TakeShowRequests();

  // Waits up to `timeout_ms` for one request and answers it; true for a "show yourself" request.
  bool WaitForShowRequest(int timeout_ms);

 private:
  SocketSingleInstance(FdHandle lock, FdHandle listener, std::string socket_path);
  // Accepts one waiting peer and answers it: whether it asked to be shown, nullopt when no
  // peer waits.
  std::optional<bool> AnswerOne();

  FdHandle lock_;
  FdHandle listener_;
  std::string socket_path_;
};

}  // namespace qv::platform
