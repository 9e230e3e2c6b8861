#include "platform/known_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

#include "platform/utf8_text.h"
#include "qv/deployment_settings.h"

namespace qv::platform {
namespace {

// The variable's value when it is set and not empty.
std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Reads XDG_DESKTOP_DIR from a user-dirs.dirs file: a shell-style line
// XDG_DESKTOP_DIR="$HOME/Desktop", where the value is "$HOME/..." or an absolute path.
std::string DesktopFromUserDirs(const std::string& file, const std::string& home) {
  std::ifstream in(file);
  std::string line;
  constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
  std::string found;
  while (std::getline(in, line)) {
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, kKey.size(), kKey) != 0) continue;
    std::string value = line.substr(start + kKey.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t')) {
      value.pop_back();
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (value.rfind("$HOME/", 0) == 0) {
      found = home + value.substr(5);
    } else if (value == "$HOME") {
      found = home;
    } else if (!value.empty() && value.front() == '/') {
      found = value;
    }  // anything else is not a path this file format allows: ignored
  }
  return WithoutTrailingSlashes(found);
}

}  // namespace

std::string HomeFolder() {
  std::string home = FromEnvironment("HOME");
  if (home.empty()) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
        result->pw_dir) {
      home = result->pw_dir;
    }
  }
  return home.empty() ? std::string("/") : WithoutTrailingSlashes(home);
}

std::string LocalAppDataFolder() {
  const std::string configured = FromEnvironment("XDG_DATA_HOME");
  return configured.empty() ? HomeFolder() + "/.local/share" : WithoutTrailingSlashes(configured);
}

std::string RoamingAppDataFolder() {
  const std::string configured = FromEnvironment("XDG_CONFIG_HOME");
  return configured.empty() ? HomeFolder() + "/.config" : WithoutTrailingSlashes(configured);
}

std::string MachineRoot() {
  const std::string configured = FromEnvironment("QV_MACHINE_ROOT");
  return WithoutTrailingSlashes(configured.empty() ? std::string(settings::kMachineRootDefault)
                                                   : configured);
}

std::string CommonAppDataFolder() { return MachineRoot() + "/ProgramData"; }

std::string TempFolder() {
  const std::string configured = FromEnvironment("TMPDIR");
  return (configured.empty() ? std::string("/tmp") : WithoutTrailingSlashes(configured)) + "/";
}

std::string DesktopFolder() {
  const std::string home = HomeFolder();
  const std::string desktop = DesktopFromUserDirs(RoamingAppDataFolder() + "/user-dirs.dirs", home);
  return desktop.empty() ? home + "/Desktop" : desktop;
}

std::string StartMenuFolder() { return LocalAppDataFolder() + "/applications"; }

std::string FolderThatIsNotUtf8() {
  for (const std::string& folder : {HomeFolder(), LocalAppDataFolder(), RoamingAppDataFolder(),
                                    TempFolder(), DesktopFolder(), MachineRoot()}) {
    if (!IsWellFormedUtf8(folder)) return folder;
  }
  return {};
}

}  // namespace qv::platform
