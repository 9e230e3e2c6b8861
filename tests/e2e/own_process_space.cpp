#include "own_process_space.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace qv::test {
namespace {

void NoteChild(int) {}

// Process 1 of the namespace: mounts its /proc, reports how that went through `ready`, then
// reaps until it is killed. Only async-signal-safe calls: the test process may have had threads.
[[noreturn]] void RunReaper(int ready) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  int error = 0;
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0) {
    error = errno;
  }
  // SIGCHLD stays blocked except while waiting for it, so none is lost between the reaping
  // and the wait.
  struct sigaction action {};
  action.sa_handler = NoteChild;
  sigaction(SIGCHLD, &action, nullptr);
  sigset_t blocked;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGCHLD);
  sigset_t waiting;
  sigprocmask(SIG_BLOCK, &blocked, &waiting);
  sigdelset(&waiting, SIGCHLD);

  const ssize_t written = write(ready, &error, sizeof error);
  close(ready);
  if (written != static_cast<ssize_t>(sizeof error) || error != 0) _exit(1);
  for (;;) {
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    sigsuspend(&waiting);
  }
}

}  // namespace

bool OwnProcessSpace::Enter(std::string& why_not) {
  if (unshare(CLONE_NEWPID | CLONE_NEWNS) != 0) {
    why_not = std::string("no PID namespace of its own (needs root): ") + strerror(errno);
    return false;
  }
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) {
    why_not = std::string("no pipe to the namespace's process 1: ") + strerror(errno);
    return false;
  }
  reaper_ = fork();
  if (reaper_ == 0) {
    close(ready[0]);
    RunReaper(ready[1]);
  }
  const int fork_error = errno;
  close(ready[1]);
  if (reaper_ < 0) {
    close(ready[0]);
    why_not = std::string("no process 1 for the PID namespace: ") + strerror(fork_error);
    return false;
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(ready[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(ready[0]);
  if (got != static_cast<ssize_t>(sizeof error)) {
    why_not = "the PID namespace's process 1 ended before it was ready";
    return false;
  }
  if (error != 0) {
    why_not = std::string("cannot mount the PID namespace's /proc: ") + strerror(error);
    return false;
  }
  return true;
}

OwnProcessSpace::~OwnProcessSpace() {
  if (reaper_ <= 0) return;
  kill(reaper_, SIGKILL);
  while (waitpid(reaper_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace qv::test
