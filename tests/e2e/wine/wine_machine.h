// One machine for an end-to-end run of the real Windows installer under Wine: a fresh Wine
// prefix in the test's temporary root (tools/windows/wine-prefix.sh, with the font faces the
// windows ask for mapped to installed fonts), the demo platform service on the loopback ports
// built into the Windows demo build (its content with the Windows demo client and uninstaller,
// its content URLs naming "localhost" as the installer's do), and the installer, copied into the
// user's Downloads folder of the prefix as the distributed "tov3_web.exe".
//
// What a run leaves is read back from the system itself: the prefix's registry with Wine's
// `reg query`, the shortcuts with lnkinfo, the files through the prefix's drive C.
//
// Like EndToEndMachine, a machine lives in the namespaces its test's set-up entered (run_space.h).
// Ownership and threads: a test owns its machine on its main thread; the machine owns the
// service process and ends the prefix's processes when it goes; the TempRoot must outlive it.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "demo_service_process.h"
#include "plugin312_records.h"
#include "run_command.h"
#include "temp_root.h"

namespace qv::test {

class WineMachine {
 public:
  explicit WineMachine(const TempRoot& root);
  ~WineMachine();
  WineMachine(const WineMachine&) = delete;
  WineMachine& operator=(const WineMachine&) = delete;

  // False (with the reason) when the Windows demo build has no installer yet.
  static bool InstallerBuilt(std::string& why_not);
  // The folder of the CA the Windows demo build trusts, as this machine names it.
  static std::string PkiFolder();

  // Makes the prefix; false (a fatal test failure follows) when it could not be made.
  bool MakePrefix();

  // Starts the service with a committed scenario, stopping one that runs.
  bool StartService(const std::string& scenario);
  void StopService();

  // Windows programs started from now on show their windows on this X display.
  void UseDisplay(const std::string& display);

  // Starts a Windows program (its path, the Windows one or this machine's, then its arguments)
  // in the prefix; a program named by its Windows path sees that path as its own.
  std::unique_ptr<ChildProcess> StartProgram(const std::vector<std::string>& command) const;
  std::unique_ptr<ChildProcess> StartInstaller() const;
  // Starts the installer and waits for its exit: the exit code (-1 after a signal), or nullopt
  // when it still ran after `limit` (then it is killed).
  std::optional<int> RunInstaller(std::chrono::seconds limit = std::chrono::seconds(90)) const;

  // A REG_SZ value of a key of the prefix's registry ("HKLM\\...", "HKCU\\..."; "" names the
  // default value); nullopt when the key or value is missing or of another type.
  std::optional<std::string> RegistryString(const std::string& key,
                                            const std::string& value) const;
  bool RegistryKeyExists(const std::string& key) const;
  // A field of a shortcut as lnkinfo shows it ("Local path"); nullopt when unreadable.
  static std::optional<std::string> ShortcutField(const std::string& file,
                                                  const std::string& label);

  // This machine's path of a Windows path on drive C ("C:\\users\\..." -> ".../drive_c/users/...").
  std::string Files(const std::string& windows_path) const;
  // The prefix's user folder, "C:\\users\\NAME\\".
  std::string UserFolder() const;
  // The platform folder of a per-user installation, "...\\AppData\\Local\\Qvorvane\\app\\".
  std::string PlatformFolder() const;
  // The user's temporary folder, where downloads are made, as this machine names it.
  std::string TempFiles() const;
  // Where a complete installation's records are read back: the machine-wide entries in the
  // local machine's registry (Wine's user is an administrator).
  InstalledPlatform Installed() const;

  const std::string& statistics_log() const { return statistics_log_; }
  const std::string& prefix() const { return prefix_; }

 private:
  // Runs a Wine tool ("reg", ...) in the prefix to its end.
  CommandResult RunTool(const std::vector<std::string>& command) const;

  const TempRoot& root_;
  const std::string prefix_;
  const std::string statistics_log_;
  std::string user_name_;
  std::string program_;  // the installer's Windows path
  std::unique_ptr<DemoServiceProcess> service_;
};

}  // namespace qv::test
