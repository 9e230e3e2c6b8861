#include "installation_readback.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/private_profile.h"
#include "platform/registry_file_format.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

platform::RegistryHive ReadHive(const std::string& path, const char* root_name) {
  platform::RegistryHive hive;
  if (auto text = ReadFileBytes(path)) {
    EXPECT_TRUE(platform::ParseRegistryFile(*text, root_name, hive)) << path << " does not parse";
  }
  return hive;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::vector<std::string> FilesBelow(const TempRoot& root) {
  std::vector<std::string> files;
  const fs::path base(root.path());
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(base, error); !error && it != fs::end(it);
       it.increment(error)) {
    if (!it->is_regular_file()) continue;
    const std::string relative = fs::relative(it->path(), base).string();
    const std::string name = it->path().filename().string();
    if (StartsWith(relative, "home/.cache/") || StartsWith(relative, "service/") ||
        (name.front() == '.' && name.ends_with(".lock"))) {
      continue;
    }
    files.push_back(relative);
  }
  std::sort(files.begin(), files.end());
  return files;
}

platform::RegistryHive CurrentUserHive(const TempRoot& root) {
  return ReadHive(root.config_home() + "/qvorvane-registry/HKEY_CURRENT_USER.reg",
                  "HKEY_CURRENT_USER");
}

platform::RegistryHive LocalMachineHive(const TempRoot& root) {
  return ReadHive(root.machine_root() + "/registry/HKEY_LOCAL_MACHINE.reg",
                  "HKEY_LOCAL_MACHINE");
}

std::optional<std::string> RegistryString(const platform::RegistryHive& hive,
                                          const std::string& key, const std::string& value) {
  const platform::RegistryKeyData* data = hive.FindKey(key);
  if (data == nullptr) return std::nullopt;
  const platform::RegistryValueData* found = data->FindValue(value);
  if (found == nullptr || found->type != platform::RegistryValueType::kString) {
    return std::nullopt;
  }
  return found->text;
}

std::optional<std::string> IniValue(const std::string& file, const std::string& section,
                                    const std::string& key) {
  // A default no record holds tells a missing key from an empty value.
  constexpr char kMissing[] = "\x01missing";
  std::string value;
  platform::GetPrivateProfileString(section, key, kMissing, value, 4096, file);
  if (value == kMissing) return std::nullopt;
  return value;
}

std::vector<StatisticsReport> ReadStatisticsReports(const std::string& statistics_log) {
  std::vector<StatisticsReport> reports;
  std::ifstream in(statistics_log);
  for (std::string line; std::getline(in, line);) {
    StatisticsReport report;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '&');) {
      const size_t equals = field.find('=');
      if (equals == std::string::npos) {
        report[field] = "";
      } else {
        report[field.substr(0, equals)] = field.substr(equals + 1);
      }
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

std::vector<std::string> OperationsOf(const std::vector<StatisticsReport>& reports) {
  std::vector<std::string> operations;
  for (const auto& report : reports) {
    const auto op = report.find("op");
    const auto ex = report.find("ex");
    operations.push_back((op == report.end() ? "?" : op->second) + "/" +
                         (ex == report.end() ? "" : ex->second));
  }
  return operations;
}

std::vector<LaunchRecord> ReadLaunchRecords(const std::string& launch_txt) {
  std::vector<LaunchRecord> records;
  std::ifstream in(launch_txt);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // written on Windows
    auto take = [&line](const std::string& label, std::string& out) {
      if (!StartsWith(line, label)) return false;
      out = line.substr(label.size());
      return true;
    };
    if (StartsWith(line, "started: ")) {
      records.emplace_back();
    } else if (!records.empty()) {
      take("program: ", records.back().program) ||
          take("working folder: ", records.back().working_folder) ||
          take("arguments: ", records.back().arguments);
    }
  }
  return records;
}

}  // namespace qv::test
