// The running processes on Windows: a Toolhelp snapshot, narrowed to the processes whose token
// names this process's own user; ending one is TerminateProcess on a handle opened for it.
#include "platform/process_table.h"

#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

constexpr UINT kTerminatedExitCode = 1;

// The user SID of a process's token; empty when the process cannot be asked.
std::vector<BYTE> UserOfProcess(HANDLE process) {
  HANDLE raw_token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &raw_token)) return {};
  const win32::Handle token = win32::OwnHandle(raw_token);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
    return {};
  }
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  const DWORD length = GetLengthSid(sid);
  const BYTE* bytes = static_cast<const BYTE*>(sid);
  return std::vector<BYTE>(bytes, bytes + length);
}

const std::vector<BYTE>& OwnUser() {
  static const std::vector<BYTE> user = UserOfProcess(GetCurrentProcess());
  return user;
}

// Whether the process with this id runs for this process's user.
bool IsOwnProcess(DWORD pid) {
  const win32::Handle process =
      win32::OwnHandle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return false;
  const std::vector<BYTE> user = UserOfProcess(process.get());
  return !user.empty() && user == OwnUser();
}

class ToolhelpProcessTable final : public ProcessTable {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() const override {
    const win32::Handle snapshot =
        win32::OwnHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return std::nullopt;
    std::vector<ProcessEntry> entries;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
      if (entry.th32ProcessID == 0 || !IsOwnProcess(entry.th32ProcessID)) continue;
      entries.push_back(
          {static_cast<pid_t>(entry.th32ProcessID), win32::Utf8(entry.szExeFile)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const ProcessEntry& a, const ProcessEntry& b) { return a.pid < b.pid; });
    return entries;
  }

  bool Terminate(pid_t pid) const override {
    if (pid <= 0) return false;
    const win32::Handle process = win32::OwnHandle(
        OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                    static_cast<DWORD>(pid)));
    // A process that has ended (its object kept by a handle somewhere) runs no more.
    if (!process || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) return false;
    // Another user's process is never ended, even where the rights would allow it.
    const std::vector<BYTE> user = UserOfProcess(process.get());
    return !user.empty() && user == OwnUser() &&
           TerminateProcess(process.get(), kTerminatedExitCode);
  }
};

}  // namespace

const ProcessTable& SystemProcessTable() {
  static const ToolhelpProcessTable table;
  return table;
}

}  // namespace qv::platform
