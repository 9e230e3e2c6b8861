#include "platform/process_table.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/posix/os_handles.h"
#include "platform/posix/proc_status.h"
#include "platform/whole_file.h"

namespace qv::platform {
namespace {

constexpr char kProcFolder[] = "/proc";

std::string_view LastComponent(std::string_view path) {
  const auto separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// A /proc file's bytes; nullopt once the process has ended.
std::optional<std::string> ProcFile(const std::string& path) {
  std::string text;
  if (ReadFileAsIs(path, text)) return std::nullopt;
  return text;
}

// The value of the /proc/PID/status line that begins with `key`, without the blanks before it.
std::optional<std::string_view> StatusField(std::string_view status, std::string_view key) {
  size_t line = 0;
  while (line < status.size()) {
    const size_t end = std::min(status.find('\n', line), status.size());
    std::string_view text = status.substr(line, end - line);
    if (text.starts_with(key)) {
      text.remove_prefix(key.size());
      const size_t first = text.find_first_not_of(" \t");
      return first == std::string_view::npos ? std::string_view() : text.substr(first);
    }
    line = end + 1;
  }
  return std::nullopt;
}

std::string ProcFolder(pid_t pid) { return std::string(kProcFolder) + "/" + std::to_string(pid); }

std::optional<uid_t> RealUidOf(const std::string& proc_folder) {
  const auto status = ProcFile(proc_folder + "/status");
  return status ? RealUidFromStatus(*status) : std::nullopt;
}

// Whether the process runs and is the user's own: an ended process its parent has not yet
// collected (a zombie) keeps its name in /proc but runs no more.
bool IsOwnRunningProcess(const std::string& proc_folder, uid_t own_uid) {
  const auto status = ProcFile(proc_folder + "/status");
  return status && RealUidFromStatus(*status) == own_uid && !HasEndedFromStatus(*status);
}

std::optional<pid_t> ParsePid(std::string_view name) {
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
  if (error != std::errc() || end != name.data() + name.size() || pid <= 0) return std::nullopt;
  return pid;
}

class ProcProcessTable final : public ProcessTable {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() const override {
    DirHandle proc(opendir(kProcFolder));
    if (!proc) return std::nullopt;
    const uid_t own_uid = getuid();
    std::vector<ProcessEntry> entries;
    while (const dirent* entry = readdir(proc.get())) {
      const auto pid = ParsePid(entry->d_name);
      if (!pid) continue;
      const std::string folder = ProcFolder(*pid);
      // A process that ended (before or between the listing and these reads) is left out, and
      // so is one of another user.
      if (!IsOwnRunningProcess(folder, own_uid)) continue;
      auto comm = ProcFile(folder + "/comm");
      const auto cmdline = ProcFile(folder + "/cmdline");
      if (!comm || !cmdline) continue;
      if (!comm->empty() && comm->back() == '\n') comm->pop_back();
      entries.push_back({*pid, ImageNameFromCommandLine(*cmdline, *comm)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const ProcessEntry& a, const ProcessEntry& b) { return a.pid < b.pid; });
    return entries;
  }

  bool Terminate(pid_t pid) const override {
    if (pid <= 0) return false;
    // Another user's process is never ended, even where the rights would allow it (root).
    const auto uid = RealUidOf(ProcFolder(pid));
    return uid && *uid == getuid() && kill(pid, SIGKILL) == 0;
  }
};

}  // namespace

std::string ImageNameFromCommandLine(std::string_view cmdline, std::string_view comm) {
  std::vector<std::string_view> arguments;
  size_t start = 0;
  while (start < cmdline.size()) {
    const size_t end = std::min(cmdline.find('\0', start), cmdline.size());
    arguments.push_back(cmdline.substr(start, end - start));
    start = end + 1;
  }
  if (comm.empty()) return arguments.empty() ? std::string() : std::string(LastComponent(arguments[0]));
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view name = LastComponent(arguments[i]);
    if (name.starts_with(comm)) return std::string(name);
  }
  return std::string(comm);
}

std::optional<uid_t> RealUidFromStatus(std::string_view status) {
  const auto text = StatusField(status, "Uid:");
  if (!text || text->empty()) return std::nullopt;
  uid_t uid = 0;
  const auto [stop, error] = std::from_chars(text->data(), text->data() + text->size(), uid);
  if (error != std::errc() || stop == text->data()) return std::nullopt;
  return uid;
}

bool HasEndedFromStatus(std::string_view status) {
  const auto state = StatusField(status, "State:");
  return state && (state->starts_with('Z') || state->starts_with('X'));
}

const ProcessTable& SystemProcessTable() {
  static const ProcProcessTable table;
  return table;
}

}  // namespace qv::platform
