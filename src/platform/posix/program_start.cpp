#include "platform/program_start.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <system_error>
#include <thread>

#include "platform/path_resolution.h"

extern char** environ;

namespace qv::platform {
namespace {

constexpr char kNullDevice[] = "/dev/null";

// posix_spawn's attribute and file-action objects, destroyed when the call ends.
struct SpawnSetup {
  posix_spawnattr_t attributes{};
  posix_spawn_file_actions_t actions{};
  bool ready = false;

  SpawnSetup() {
    if (posix_spawnattr_init(&attributes) != 0) return;
    if (posix_spawn_file_actions_init(&actions) != 0) {
      posix_spawnattr_destroy(&attributes);
      return;
    }
    ready = true;
  }
  ~SpawnSetup() {
    if (!ready) return;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

std::string Absolute(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  char current[PATH_MAX];
  if (!getcwd(current, sizeof(current))) return path;
  return std::string(current) + "/" + path;
}

bool Configure(SpawnSetup& setup, const std::string& working_folder) {
  if (!setup.ready) return false;
  if (posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID) != 0) return false;
  for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    const int mode = stream == STDIN_FILENO ? O_RDONLY : O_WRONLY;
    if (posix_spawn_file_actions_addopen(&setup.actions, stream, kNullDevice, mode, 0) != 0) {
      return false;
    }
  }
  // Only the three standard streams reach the program: a descriptor of ours left open without
  // close-on-exec (a lock file, a socket) must not outlive us in it.
  if (posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1) != 0) return false;
  return working_folder.empty() ||
         posix_spawn_file_actions_addchdir_np(&setup.actions, working_folder.c_str()) == 0;
}

void ReapWhenEnded(pid_t child) {
  try {
    std::thread([child] {
      while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the program runs all the same and is reaped when this process ends.
  }
}

}  // namespace

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& working_folder) {
  if (program.empty()) return false;
  const auto resolved_program = ResolveExistingPath(Absolute(program));
  if (!resolved_program) return false;
  std::string folder;
  if (!working_folder.empty()) {
    const auto resolved_folder = ResolveExistingPath(working_folder);
    if (!resolved_folder) return false;
    folder = *resolved_folder;
  }
  SpawnSetup setup;
  if (!Configure(setup, folder)) return false;

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<char*>(resolved_program->c_str()));
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  pid_t child = 0;
  if (posix_spawn(&child, resolved_program->c_str(), &setup.actions, &setup.attributes, argv.data(),
                  environ) != 0) {
    return false;
  }
  ReapWhenEnded(child);
  return true;
}

}  // namespace qv::platform
