#include "platform/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace qv::platform {
namespace {

int g_pipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const int saved_errno = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
  errno = saved_errno;
}

int MakePipeAndHandlers() {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal_number, &action, nullptr);
  return g_pipe[0];
}

}  // namespace

int TerminationSignalFd() {
  static const int fd = MakePipeAndHandlers();
  return fd;
}

bool TakeTerminationSignals() {
  const int fd = TerminationSignalFd();
  if (fd < 0) return false;
  bool any = false;
  char buffer[64];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof(buffer));
    if (got > 0) {
      any = true;
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return any;
  }
}

}  // namespace qv::platform
