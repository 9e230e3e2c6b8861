#include "run_waits.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "installation_readback.h"

namespace qv::test {
namespace {

constexpr int kPolls = 1200;
constexpr std::chrono::milliseconds kPollInterval(50);

}  // namespace

bool WaitForReports(const std::string& statistics_log, size_t count) {
  for (int i = 0; i < kPolls; ++i) {
    if (ReadStatisticsReports(statistics_log).size() >= count) return true;
    std::this_thread::sleep_for(kPollInterval);
  }
  return false;
}

bool WaitForPartialPlatformDownload(const std::string& temp_folder) {
  for (int i = 0; i < kPolls; ++i) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(temp_folder, error)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("qvordl_") && name.ends_with(".part") && entry.file_size(error) > 0) {
        return true;
      }
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return false;
}

std::optional<int> WaitForInstallerExit(ChildProcess& installer, std::chrono::seconds limit) {
  if (!installer.started()) return -1;
  auto code = installer.WaitFor(limit);
  if (!code) {
    ADD_FAILURE() << "the installer still ran after " << limit.count() << " s";
    installer.Kill(SIGKILL);
    installer.Wait();
  }
  return code;
}

}  // namespace qv::test
