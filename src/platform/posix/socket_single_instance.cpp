#include "platform/posix/socket_single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/posix/folder_creation.h"
#include "platform/known_folders.h"

namespace qv::platform {
namespace {

constexpr std::string_view kShowRequest = "show\n";
constexpr std::string_view kAnswer = "ok\n";
// Guards against a peer that connects and then says nothing (or never answers): neither side
// may hang on it. The request follows the connection at once; the answer waits for the running
// instance's UI thread.
constexpr int kRequestTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr mode_t kPrivateFileMode = 0600;
constexpr mode_t kPrivateFolderMode = 0700;
constexpr int kListenBacklog = 8;

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// A socket address for `path`. sun_path holds 108 bytes; a longer path is reached through the
// folder's descriptor ("/proc/self/fd/N/name"), which `folder` keeps open while it is used.
bool MakeAddress(const std::string& path, sockaddr_un& address, FdHandle& folder) {
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  std::string usable = path;
  if (usable.size() >= sizeof(address.sun_path)) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return false;
    folder = FdHandle(::open(path.substr(0, slash).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) return false;
    usable = "/proc/self/fd/" + std::to_string(folder.get()) + path.substr(slash);
    if (usable.size() >= sizeof(address.sun_path)) return false;
  }
  std::memcpy(address.sun_path, usable.c_str(), usable.size() + 1);
  return true;
}

bool WaitFor(int fd, short events, int timeout_ms) {
  pollfd entry{fd, events, 0};
  int ready;
  while ((ready = ::poll(&entry, 1, timeout_ms)) < 0 && errno == EINTR) {
  }
  return ready > 0;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

// Reads exactly `expected.size()` bytes within the timeout and compares them.
bool ReceiveExactly(int fd, std::string_view expected, int timeout_ms) {
  std::string got;
  char buffer[16];
  while (got.size() < expected.size()) {
    if (!WaitFor(fd, POLLIN, timeout_ms)) return false;
    const ssize_t n = ::recv(fd, buffer, std::min(sizeof(buffer), expected.size() - got.size()), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got == expected;
}

FdHandle Listen(const std::string& socket_path) {
  sockaddr_un address;
  FdHandle folder;
  if (!MakeAddress(socket_path, address, folder)) return FdHandle();
  FdHandle listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!listener.valid()) return FdHandle();
  // A socket file left by an instance that was killed: we hold the lock, so it is nobody's.
  ::unlink(socket_path.c_str());
  if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      ::chmod(socket_path.c_str(), kPrivateFileMode) != 0 ||
      ::listen(listener.get(), kListenBacklog) != 0) {
    return FdHandle();
  }
  return listener;
}

}  // namespace

std::string InstanceFolder() {
  std::string folder = FromEnvironment("XDG_RUNTIME_DIR");
  if (folder.empty()) {
    folder = FromEnvironment("XDG_CACHE_HOME");
    if (folder.empty()) folder = HomeFolder() + "/.cache";
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

InstanceLockResult SocketSingleInstance::Acquire(const std::string& name,
                                                 std::unique_ptr<SocketSingleInstance>& out) {
  out.reset();
  const std::string folder = InstanceFolder();
  if (!EnsureFolder(folder, kPrivateFolderMode)) return InstanceLockResult::kUnavailable;
  FdHandle lock(::open((folder + "/" + name + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC,
                       kPrivateFileMode));
  if (!lock.valid()) return InstanceLockResult::kUnavailable;
  int locked;
  while ((locked = ::flock(lock.get(), LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    return errno == EWOULDBLOCK ? InstanceLockResult::kHeldElsewhere
                                : InstanceLockResult::kUnavailable;
  }
  const std::string socket_path = folder + "/" + name + ".sock";
  FdHandle listener = Listen(socket_path);
  out.reset(new SocketSingleInstance(std::move(lock), std::move(listener), socket_path));
  return InstanceLockResult::kAcquired;
}

SocketSingleInstance::SocketSingleInstance(FdHandle lock, FdHandle listener,
                                           std::string socket_path)
    : lock_(std::move(lock)),
      listener_(std::move(listener)),
      socket_path_(std::move(socket_path)) {}

SocketSingleInstance::~SocketSingleInstance() {
  if (listener_.valid()) ::unlink(socket_path_.c_str());
}

std::optional<bool> SocketSingleInstance::AnswerOne() {
  FdHandle peer(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
  if (!peer.valid()) return std::nullopt;
  if (!ReceiveExactly(peer.get(), kShowRequest, kRequestTimeoutMs)) return false;
  SendAll(peer.get(), kAnswer);  // a peer that left meanwhile does not change what was asked
  return true;
}

int SocketSingleInstance::TakeShowRequests() {
  if (!listener_.valid()) return 0;
  int requests = 0;
  while (const std::optional<bool> answered = AnswerOne()) {
    if (*answered) ++requests;
  }
  return requests;
}

bool SocketSingleInstance::WaitForShowRequest(int timeout_ms) {
  if (!listener_.valid() || !WaitFor(listener_.get(), POLLIN, timeout_ms)) return false;
  return AnswerOne().value_or(false);
}

InstanceLockResult SingleInstance::Acquire(const std::string& name,
                                           std::unique_ptr<SingleInstance>& out) {
  std::unique_ptr<SocketSingleInstance> instance;
  const InstanceLockResult result = SocketSingleInstance::Acquire(name, instance);
  out = std::move(instance);
  return result;
}

bool SendShowRequest(const std::string& name) {
  sockaddr_un address;
  FdHandle folder;
  if (!MakeAddress(InstanceFolder() + "/" + name + ".sock", address, folder)) return false;
  FdHandle peer(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!peer.valid()) return false;
  int connected;
  while ((connected = ::connect(peer.get(), reinterpret_cast<const sockaddr*>(&address),
                                sizeof(address))) != 0 &&
         errno == EINTR) {
  }
  if (connected != 0) return false;
  return SendAll(peer.get(), kShowRequest) && ReceiveExactly(peer.get(), kAnswer, kAnswerTimeoutMs);
}

}  // namespace qv::platform
