// Desktop entries on Linux: launchers made executable and trusted, the MIME cache refreshed, each
// through the desktop's own helper program where it is installed.
#include "platform/desktop_shell.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/path_resolution.h"

extern char** environ;

namespace qv::platform {
namespace {

constexpr char kNullDevice[] = "/dev/null";

// A helper program's exit, waited for through a process descriptor so that the wait ends on the
// event itself, bounded by kDesktopToolWaitMs.
class PidDescriptor {
 public:
  explicit PidDescriptor(pid_t pid) : fd_(static_cast<int>(syscall(SYS_pidfd_open, pid, 0))) {}
  ~PidDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  PidDescriptor(const PidDescriptor&) = delete;
  PidDescriptor& operator=(const PidDescriptor&) = delete;

  // True when the process ended within the wait.
  bool WaitForExit(int timeout_ms) const {
    if (fd_ < 0) return false;
    pollfd entry{fd_, POLLIN, 0};
    int ready = 0;
    do {
      ready = ::poll(&entry, 1, timeout_ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
  }

 private:
  int fd_;
};

// Runs `arguments` (the program looked up on PATH) with /dev/null as its streams and waits for
// it. True when it ran and exited with status 0.
bool RunHelper(const std::vector<std::string>& arguments) {
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  bool ready = true;
  for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    const int mode = stream == STDIN_FILENO ? O_RDONLY : O_WRONLY;
    ready = ready && posix_spawn_file_actions_addopen(&actions, stream, kNullDevice, mode, 0) == 0;
  }
  ready = ready && posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) == 0;
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const bool started =
      ready && posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!started) return false;

  const PidDescriptor process(child);
  if (!process.WaitForExit(static_cast<int>(kDesktopToolWaitMs))) ::kill(child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool UsesDesktopEntries() { return true; }

bool MarkLauncherTrusted(const std::string& path) {
  const auto resolved = ResolveExistingPath(path);
  if (!resolved) return false;
  struct stat status {};
  if (::stat(resolved->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  // Execute where read is allowed: the launcher stays as private as the record writer made it.
  const mode_t mode = status.st_mode & 07777;
  const mode_t executable = mode | ((mode & 0444) >> 2);
  if (executable != mode && ::chmod(resolved->c_str(), executable) != 0) return false;
  RunHelper({"gio", "set", *resolved, "metadata::trusted", "true"});
  return true;
}

void RefreshDesktopDatabase(const std::string& applications_folder) {
  RunHelper({"update-desktop-database", "-q", applications_folder});
}

}  // namespace qv::platform
