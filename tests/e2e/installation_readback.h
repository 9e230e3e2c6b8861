// What an installer run left behind, read back from a temporary root: the files, the registry
// store's two roots, the statistics reports the demo service received and the demo client's
// launch records. Plain functions over files; any thread.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_hive.h"
#include "temp_root.h"

namespace qv::test {

// Every regular file below the root, as paths relative to it, sorted; lock files and the
// caches of Qt and fontconfig left out.
std::vector<std::string> FilesBelow(const TempRoot& root);

// The registry store's roots as the installer wrote them (empty when the file is missing).
platform::RegistryHive CurrentUserHive(const TempRoot& root);
platform::RegistryHive LocalMachineHive(const TempRoot& root);
// A string value of a key ("" names the default value); nullopt when the key or value is missing.
std::optional<std::string> RegistryString(const platform::RegistryHive& hive,
                                          const std::string& key, const std::string& value);

// A value of an ini record, read as the installer reads it; nullopt when the file, section or key
// is missing.
std::optional<std::string> IniValue(const std::string& file, const std::string& section,
                                    const std::string& key);

// One statistics report: its form fields in order of arrival ("ci", "gf", ..., "op", "ex").
using StatisticsReport = std::map<std::string, std::string>;
std::vector<StatisticsReport> ReadStatisticsReports(const std::string& statistics_log);
// "op/ex" of each report, in order ("1/", "2/old_user", "5/policy_failed").
std::vector<std::string> OperationsOf(const std::vector<StatisticsReport>& reports);

// One start of the demo client, as it recorded it in launch.txt (its Linux or Windows build).
struct LaunchRecord {
  std::string program;
  std::string working_folder;
  std::string arguments;
};
std::vector<LaunchRecord> ReadLaunchRecords(const std::string& launch_txt);

}  // namespace qv::test
