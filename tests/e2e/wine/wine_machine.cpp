#include "wine_machine.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "run_command.h"
#include "run_waits.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

constexpr char kWine[] = "/usr/lib/wine/wine64";
constexpr char kWineServer[] = "/usr/lib/wine/wineserver";
constexpr char kDefaultValueName[] = "(Default)";

// The lines of `text` without their line ends (Wine's tools end lines with CRLF).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

WineMachine::WineMachine(const TempRoot& root)
    : root_(root),
      prefix_(root.Path("prefix")),
      statistics_log_(root.Path("service/statistics.log")) {
  setenv("WINEPREFIX", prefix_.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  // No runtime installer dialogs for .NET or HTML in a fresh prefix.
  setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
  fs::create_directories(root.Path("service"));
}

WineMachine::~WineMachine() {
  StopService();
  // Every process of the prefix ends with its server; the server writes the registry as it goes.
  RunCommand({kWineServer, "-k"});
  RunCommand({kWineServer, "-w"});
}

bool WineMachine::InstallerBuilt(std::string& why_not) {
  if (fs::exists(QV_WINDOWS_INSTALLER_PATH)) return true;
  why_not = std::string("the Windows demo build has no installer (") + QV_WINDOWS_INSTALLER_PATH +
            "); build the windows-demo preset";
  return false;
}

std::string WineMachine::PkiFolder() { return fs::path(QV_WINDOWS_CA_FILE).parent_path(); }

bool WineMachine::MakePrefix() {
  // The template the prefixes are copied from is made once for the whole build, not per test.
  const CommandResult made = RunCommand({"env", "QV_WINE_TEMPLATE=" QV_WINE_TEMPLATE_DIR,
                                         QV_WINE_PREFIX_SCRIPT, prefix_, "--fonts"});
  EXPECT_EQ(made.exit_code, 0) << made.output;
  if (made.exit_code != 0) return false;
  for (const auto& entry : fs::directory_iterator(prefix_ + "/drive_c/users")) {
    const std::string name = entry.path().filename().string();
    if (name != "Public") user_name_ = name;
  }
  if (user_name_.empty()) return false;
  program_ = UserFolder() + "Downloads\\tov3_web.exe";
  if (fs::exists(QV_WINDOWS_INSTALLER_PATH)) {
    const std::string copy = Files(program_);
    fs::create_directories(fs::path(copy).parent_path());
    fs::copy_file(QV_WINDOWS_INSTALLER_PATH, copy);
  }
  // The server stays up between the run's programs and read-backs rather than starting anew for
  // each one. It goes into the background holding no end of the pipe RunCommand reads to its
  // end, and every Wine program after it uses it rather than start a server of its own.
  return RunCommand({"/bin/sh", "-c", std::string("exec ") + kWineServer +
                                          " -p </dev/null >/dev/null 2>&1"})
             .exit_code == 0;
}

bool WineMachine::StartService(const std::string& scenario) {
  StopService();
  DemoServiceOptions options;
  options.content = QV_DEMO_WINDOWS_CONTENT_DIR;
  options.pki_folder = PkiFolder();
  options.content_host = QV_WINDOWS_CONTENT_HOST;
  options.https_port = QV_WINDOWS_HTTPS_PORT;
  options.http_port = QV_WINDOWS_HTTP_PORT;
  options.probe_port = QV_WINDOWS_PROBE_PORT;
  fs::create_directories(options.pki_folder);
  service_ = std::make_unique<DemoServiceProcess>(root_.Path("service"), scenario, options);
  return service_->started();
}

void WineMachine::StopService() {
  if (service_) service_->Stop();
  service_.reset();
}

void WineMachine::UseDisplay(const std::string& display) {
  setenv("DISPLAY", display.c_str(), 1);
}

std::unique_ptr<ChildProcess> WineMachine::StartProgram(
    const std::vector<std::string>& command) const {
  std::vector<std::string> line{kWine};
  line.insert(line.end(), command.begin(), command.end());
  return std::make_unique<ChildProcess>(line);
}

std::unique_ptr<ChildProcess> WineMachine::StartInstaller() const {
  return StartProgram({program_});
}

std::optional<int> WineMachine::RunInstaller(std::chrono::seconds limit) const {
  return WaitForInstallerExit(*StartInstaller(), limit);
}

// `reg query KEY /v NAME` prints the key, then "    NAME    TYPE    DATA" (the data as stored,
// spaces included).
std::optional<std::string> WineMachine::RegistryString(const std::string& key,
                                                       const std::string& value) const {
  std::vector<std::string> command{"reg", "query", key};
  if (value.empty()) {
    command.push_back("/ve");
  } else {
    command.insert(command.end(), {"/v", value});
  }
  const CommandResult query = RunTool(command);
  if (query.exit_code != 0) return std::nullopt;
  const std::string name_field = "    " + (value.empty() ? kDefaultValueName : value) + "    ";
  const std::string type_field = "REG_SZ    ";
  for (const std::string& line : Lines(query.output)) {
    if (line.rfind(name_field + type_field, 0) == 0) {
      return line.substr(name_field.size() + type_field.size());
    }
    if (line == name_field + "REG_SZ") return std::string();  // empty data
  }
  return std::nullopt;
}

// Wine leaves helpers running in the prefix (its services) that inherit a program's standard
// output, so a pipe read to its end would not end: the output goes to a file, read once the tool
// has ended.
CommandResult WineMachine::RunTool(const std::vector<std::string>& command) const {
  const std::string output = root_.Path("wine-tool.out");
  std::vector<std::string> line{"/bin/sh", "-c", "out=$1; shift; exec \"$@\" >\"$out\" 2>&1",
                                "sh", output, kWine};
  line.insert(line.end(), command.begin(), command.end());
  CommandResult result = RunCommand(line);
  result.output = ReadFileBytes(output).value_or("");
  return result;
}

bool WineMachine::RegistryKeyExists(const std::string& key) const {
  return RunTool({"reg", "query", key}).exit_code == 0;
}

std::optional<std::string> WineMachine::ShortcutField(const std::string& file,
                                                      const std::string& label) {
  const CommandResult info = RunCommand({"lnkinfo", file});
  if (info.exit_code != 0) return std::nullopt;
  // "\tLocal path\t\t\t: C:\..."
  for (const std::string& line : Lines(info.output)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, label.size(), label) != 0) continue;
    const size_t colon = line.find(": ", start + label.size());
    if (colon == std::string::npos ||
        line.find_first_not_of(" \t", start + label.size()) != colon) {
      continue;
    }
    return line.substr(colon + 2);
  }
  return std::nullopt;
}

std::string WineMachine::Files(const std::string& windows_path) const {
  std::string path = windows_path;
  if (path.rfind("C:\\", 0) == 0) path = path.substr(3);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return prefix_ + "/drive_c/" + path;
}

std::string WineMachine::UserFolder() const { return "C:\\users\\" + user_name_ + "\\"; }

std::string WineMachine::PlatformFolder() const {
  return UserFolder() + "AppData\\Local\\Qvorvane\\app\\";
}

// The user's temporary folder is what the prefix gives the process environment's TEMP (the
// folder GetTempPathW names): C:\users\<user>\Temp in the prefixes this Wine makes.
std::string WineMachine::TempFiles() const {
  return Files(RegistryString("HKCU\\Environment", "TEMP").value_or(UserFolder() + "Temp"));
}

InstalledPlatform WineMachine::Installed() const {
  auto reader = [this](const std::string& root) -> RegistryReader {
    return [this, root](const std::string& key, const std::string& value) {
      return RegistryString(root + "\\" + key, value);
    };
  };
  return {PlatformFolder(), Files(PlatformFolder()),
          Files(UserFolder() + "AppData\\Local\\Qvorvane\\"), reader("HKLM"), reader("HKCU"),
          reader("HKCR")};
}

}  // namespace qv::test
