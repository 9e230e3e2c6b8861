// The records a complete installation of the plugin-312 scenario leaves, the same on both
// systems: the ini records, the registration's registry values and the client's one start. Only
// where they are read from differs (the Linux registry store's files or the prefix's registry
// under Wine, paths with '/' or '\'), so the test gives that.
//
// Plain functions; the test's main thread.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qv::test {

inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// The launch line of the plugin-312 scenario: the game name "Tides of Valoria III" in Base64,
// the game, the package code (the installer's own name) and the user source.
inline constexpr char kPlugin312Launch[] =
    "/startgame=VGlkZXMgb2YgVmFsb3JpYSBJSUk= /game_id=312 /flag=tov3_web /user_frome=3";

// A string value of a key ("" names the default value); nullopt when the key or value is missing.
using RegistryReader =
    std::function<std::optional<std::string>(const std::string& key, const std::string& value)>;

struct InstalledPlatform {
  std::string platform_folder;  // as the installer spells it, with its trailing separator
  std::string platform_files;   // this machine's path of that folder, with a trailing '/'
  std::string data_files;       // this machine's path of the local data folder ("…/Qvorvane/")
  RegistryReader machine_wide;  // where the machine-wide entries are expected
  RegistryReader current_user;
  // The classes root as the system shows it: the current user's "Software\\Classes" with the
  // Linux registry store, the merged view HKCR under Wine (whose writes land machine-wide when
  // the installer runs with administrator rights, as it does under Wine).
  RegistryReader classes_root;
};

// Checks every record and the client's single start, with the test's expectations.
void ExpectPlugin312Records(const InstalledPlatform& installed);
// After a complete installation and a run that found it: the client was started a second time,
// alike (the launch record of this machine's path).
void ExpectPlugin312StartedTwice(const std::string& launch_record);

}  // namespace qv::test
