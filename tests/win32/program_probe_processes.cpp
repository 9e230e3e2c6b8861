// The probe's processes on Windows: CreateProcessW with pipes for the waiting probe, and a named
// pipe for the report.
#include "program_probe.h"

#include "platform/win32/windows_api.h"

#include <atomic>
#include <stdexcept>

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"
#include "system_path.h"
#include "test_environment.h"

namespace qv::test {
namespace {

using platform::win32::Handle;
using platform::win32::OwnHandle;
using platform::win32::Utf8;
using platform::win32::Wide;

// Only a start that failed outright would wait this long.
constexpr DWORD kProbeSafetyLimitMs = 60000;

std::wstring OwnFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// A pipe whose one end the child inherits.
struct InheritedPipe {
  Handle read;
  Handle write;
};

InheritedPipe MakePipe(bool child_reads) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) throw std::runtime_error("CreatePipe failed");
  InheritedPipe pipe{OwnHandle(read), OwnHandle(write)};
  // Only the child's end is inherited.
  SetHandleInformation(child_reads ? pipe.write.get() : pipe.read.get(), HANDLE_FLAG_INHERIT, 0);
  return pipe;
}

}  // namespace

struct WaitingProcess::SystemHandles {
  Handle stdin_write;
  Handle process;
};

struct ProbeReport::Channel {
  std::string name;
  Handle pipe;
};

std::string DetachedProbeReport(const std::string& folder, const std::vector<std::string>& arguments) {
  std::string report = "cwd=" + OnThisSystem(folder) + "\n";
  for (const std::string& argument : arguments) report += "arg=" + argument + "\n";
  return report;
}

std::string ProgramProbePath() { return Utf8(OwnFolder() + L"qv_program_probe.exe"); }

WaitingProcess::WaitingProcess(const std::string& program)
    : handles_(std::make_unique<SystemHandles>()) {
  InheritedPipe input = MakePipe(/*child_reads=*/true);
  InheritedPipe output = MakePipe(/*child_reads=*/false);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.read.get();
  startup.hStdOutput = output.write.get();
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::wstring command_line = L"\"" + Wide(program) + L"\" wait";
  PROCESS_INFORMATION started{};
  const bool created =
      CreateProcessW(Wide(program).c_str(), command_line.data(), nullptr, nullptr, TRUE,
                     CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
  input.read.reset();
  output.write.reset();
  if (!created) throw std::runtime_error("cannot start " + program);
  CloseHandle(started.hThread);
  handles_->process = OwnHandle(started.hProcess);
  pid_ = static_cast<pid_t>(started.dwProcessId);
  handles_->stdin_write = std::move(input.write);
  // The byte the probe writes from main() says it runs under its name.
  char ready = 0;
  DWORD got = 0;
  if (!ReadFile(output.read.get(), &ready, 1, &got, nullptr) || got != 1) {
    handles_->stdin_write.reset();
    Reap();
    throw std::runtime_error("cannot start " + program);
  }
}

WaitingProcess::~WaitingProcess() {
  handles_->stdin_write.reset();
  Reap();
}

bool WaitingProcess::Reap() {
  if (!handles_->process) return true;
  if (WaitForSingleObject(handles_->process.get(), INFINITE) != WAIT_OBJECT_0) return false;
  handles_->process.reset();
  pid_ = -1;
  return true;
}

ProbeReport::ProbeReport(const std::string&) : channel_(std::make_unique<Channel>()) {
  static std::atomic<unsigned> counter{0};
  channel_->name = "\\\\.\\pipe\\qv-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(counter++);
  channel_->pipe = OwnHandle(CreateNamedPipeW(
      Wide(channel_->name).c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
      PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 65536, 0, nullptr));
  if (!channel_->pipe) throw std::runtime_error("cannot make the pipe " + channel_->name);
  SetEnvironmentValue("QV_PROBE_REPORT", channel_->name);
}

ProbeReport::~ProbeReport() { SetEnvironmentValue("QV_PROBE_REPORT", std::nullopt); }

std::string ProbeReport::Read() {
  HANDLE pipe = channel_->pipe.get();
  const Handle event = OwnHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event) return {};
  // Finishes an overlapped call that `started` began: false when it failed or the safety limit
  // passed.
  auto finish = [&](OVERLAPPED& overlapped, BOOL started, DWORD& transferred) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (!started && WaitForSingleObject(event.get(), kProbeSafetyLimitMs) != WAIT_OBJECT_0) {
      CancelIo(pipe);
      GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
      return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) != FALSE;
  };
  OVERLAPPED connecting{};
  connecting.hEvent = event.get();
  DWORD unused = 0;
  const BOOL connected = ConnectNamedPipe(pipe, &connecting);
  // A probe that came before the call is still there, or gone already with its text left in the
  // pipe.
  const bool came_before = !connected && (GetLastError() == ERROR_PIPE_CONNECTED ||
                                          GetLastError() == ERROR_NO_DATA);
  if (!came_before && !finish(connecting, connected, unused)) return {};
  std::string text;
  char buffer[4096];
  for (;;) {
    OVERLAPPED reading{};
    reading.hEvent = event.get();
    ResetEvent(event.get());
    DWORD got = 0;
    // Ends with ERROR_BROKEN_PIPE once the probe has closed its end and all is read.
    if (!finish(reading, ReadFile(pipe, buffer, sizeof buffer, &got, &reading), got)) break;
    text.append(buffer, got);
  }
  DisconnectNamedPipe(pipe);
  return text;
}

}  // namespace qv::test
