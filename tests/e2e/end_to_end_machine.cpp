#include "end_to_end_machine.h"

#include <grp.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "qv/deployment_settings.h"
#include "run_waits.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

constexpr char kLoopbackPrefix[] = "127.0.0.1:";

// The port of a "scheme://127.0.0.1:PORT[/...]" setting; 0 when it names another host.
int LoopbackPort(const std::string& url) {
  const size_t host = url.find("://");
  if (host == std::string::npos) return 0;
  const std::string rest = url.substr(host + 3);
  if (rest.rfind(kLoopbackPrefix, 0) != 0) return 0;
  return std::atoi(rest.c_str() + sizeof(kLoopbackPrefix) - 1);
}

// Gives `path` and everything below it to the user and group.
void ChownTree(const fs::path& path, uid_t uid, gid_t gid) {
  EXPECT_EQ(lchown(path.c_str(), uid, gid), 0) << path;
  if (!fs::is_directory(fs::symlink_status(path))) return;
  for (const auto& entry : fs::recursive_directory_iterator(path)) {
    EXPECT_EQ(lchown(entry.path().c_str(), uid, gid), 0) << entry.path();
  }
}

}  // namespace

EndToEndMachine::EndToEndMachine(const TempRoot& root)
    : root_(root),
      program_(root.Path("tov3_web.run")),
      statistics_log_(root.Path("service/statistics.log")) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  fs::copy_file(QV_INSTALLER_PATH, program_);
  fs::create_directories(root.Path("service"));
}

void EndToEndMachine::RenameInstaller(const std::string& file_name) {
  const std::string renamed = root_.Path(file_name);
  fs::rename(program_, renamed);
  program_ = renamed;
}

void EndToEndMachine::UseDisplay(const std::string& display) {
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  setenv("DISPLAY", display.c_str(), 1);
}

bool EndToEndMachine::InstallerIsLoopbackBuild(std::string& why_not) {
  if (LoopbackPort(settings::kApiBaseUrl) == 0 || LoopbackPort(settings::kStatsBaseUrl) == 0 ||
      LoopbackPort(settings::kProbeUrl) == 0 || settings::kCaBundle[0] == '\0') {
    why_not = std::string("the installer was built for ") + settings::kApiBaseUrl +
              "; end-to-end runs need the demo preset's loopback build";
    return false;
  }
  return true;
}

bool EndToEndMachine::NobodyReachesTheCa(std::string& why_not) {
  for (fs::path folder = fs::path(settings::kCaBundle).parent_path(); !folder.empty();
       folder = folder.parent_path()) {
    struct stat status {};
    if (stat(folder.c_str(), &status) == 0 && (status.st_mode & S_IXOTH) == 0) {
      why_not = folder.string() + " is closed to other users, so \"nobody\" cannot read the CA";
      return false;
    }
    if (folder == folder.root_path()) break;
  }
  return true;
}

bool EndToEndMachine::StartService(const std::string& scenario) {
  StopService();
  DemoServiceOptions options;
  options.pki_folder = fs::path(settings::kCaBundle).parent_path().string();
  options.https_port = LoopbackPort(settings::kApiBaseUrl);
  options.http_port = LoopbackPort(settings::kStatsBaseUrl);
  options.probe_port = LoopbackPort(settings::kProbeUrl);
  fs::create_directories(options.pki_folder);
  service_ = std::make_unique<DemoServiceProcess>(root_.Path("service"), scenario, options);
  return service_->started();
}

void EndToEndMachine::StopService() {
  if (service_) service_->Stop();
  service_.reset();
}

std::unique_ptr<ChildProcess> EndToEndMachine::StartInstaller(RunAs who) {
  if (who == RunAs::kSelf) {
    return std::make_unique<ChildProcess>(std::vector<std::string>{program_});
  }
  HandOverToNobody();
  return std::make_unique<ChildProcess>(std::vector<std::string>{
      "/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
      program_});
}

std::optional<int> EndToEndMachine::RunInstaller(RunAs who, std::chrono::seconds limit) {
  return WaitForInstallerExit(*StartInstaller(who), limit);
}

std::string EndToEndMachine::PlatformFolder() const {
  return root_.data_home() + "/Qvorvane/app/";
}

// The per-user folders become nobody's; the root itself only lets nobody pass and read, and
// the machine root stays root's, so the machine-wide registry root is out of reach.
void EndToEndMachine::HandOverToNobody() {
  if (handed_over_) return;
  handed_over_ = true;
  const passwd* user = getpwnam("nobody");
  const group* users = getgrnam("nogroup");
  ASSERT_NE(user, nullptr);
  ASSERT_NE(users, nullptr);
  chmod(root_.path().c_str(), 0755);
  for (const std::string& folder : {root_.home(), root_.runtime_dir(), root_.temp_dir()}) {
    ChownTree(folder, user->pw_uid, users->gr_gid);
  }
}

}  // namespace qv::test
