// One machine for an end-to-end run of the real installer: the test's temporary root, the demo
// platform service on the loopback ports built into the installer, and the installer itself,
// copied into the root as the distributed "tov3_web.run" and run offscreen with HOME, XDG_*,
// TMPDIR and QV_MACHINE_ROOT pointing into the root (TempRoot sets them; the installer inherits
// them).
//
// The ports and the CA are the installer's build-time settings: the service listens on those
// fixed ports and makes its certificates in the build's demo PKI folder, the one the installer
// trusts. Each machine therefore lives in the namespaces EndToEndTest's set-up gives its test (a
// network with its own ports, its own view of the PKI folder, its own processes), and machines
// of parallel tests never meet.
//
// Ownership and threads: a test owns its machine on its main thread; the machine owns the
// service process and refers to the TempRoot, which must outlive it.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "demo_service_process.h"
#include "temp_root.h"

namespace qv::test {

// Who runs the installer: this test's user (root in CI), or the unprivileged "nobody", for
// whom the per-user folders of the root are handed over and the machine root stays unwritable.
enum class RunAs { kSelf, kNobody };

class EndToEndMachine {
 public:
  explicit EndToEndMachine(const TempRoot& root);
  EndToEndMachine(const EndToEndMachine&) = delete;
  EndToEndMachine& operator=(const EndToEndMachine&) = delete;

  // False (with the reason) when this build's installer does not talk to loopback addresses;
  // the tests skip then.
  static bool InstallerIsLoopbackBuild(std::string& why_not);

  // False (with the reason) when "nobody" cannot reach the build's CA file, which the installer
  // must read: a folder above it is closed to other users (a checkout in a private folder).
  static bool NobodyReachesTheCa(std::string& why_not);

  // Starts the service with a committed scenario, stopping one that runs. False when it did not
  // come up (a port is taken?).
  bool StartService(const std::string& scenario);
  // Stops the service (SIGTERM) and waits for it; nothing when none runs.
  void StopService();

  // Installers started from now on show their windows on this X display instead of offscreen.
  void UseDisplay(const std::string& display);

  // Starts the installer; check started(). The installer's standard output is a pipe the test
  // may read (ChildProcess::ReadLine).
  std::unique_ptr<ChildProcess> StartInstaller(RunAs who = RunAs::kSelf);
  // Starts the installer and waits for its exit: the exit code (-1 after a signal), or nullopt
  // when it still ran after `limit` (then it is killed). The bound only keeps a broken run from
  // hanging the suite.
  std::optional<int> RunInstaller(RunAs who = RunAs::kSelf,
                                  std::chrono::seconds limit = std::chrono::seconds(90));

  // Renames the distributed installer to `file_name` in the root, as a browser names a repeated
  // download ("tov3_web (1).run").
  void RenameInstaller(const std::string& file_name);

  const std::string& program() const { return program_; }
  const std::string& statistics_log() const { return statistics_log_; }
  // The platform folder of a per-user installation (with its trailing '/').
  std::string PlatformFolder() const;

 private:
  void HandOverToNobody();

  const TempRoot& root_;
  std::string program_;
  const std::string statistics_log_;
  std::unique_ptr<DemoServiceProcess> service_;
  bool handed_over_ = false;
};

}  // namespace qv::test
