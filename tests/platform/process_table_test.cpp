#include "platform/process_table.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/posix/proc_status.h"
#include "program_probe.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

using namespace std::string_literals;

TEST(ImageNameTest, TakesTheProgramFileNameTheKernelNameBegins) {
  struct Case {
    std::string cmdline;
    std::string comm;
    std::string image_name;
  };
  const Case cases[] = {
      {"/usr/bin/foo\0-x\0"s, "foo", "foo"},
      {"/opt/q/QVorvaneHelperProcess.exe\0"s, "QVorvaneHelperP", "QVorvaneHelperProcess.exe"},
      {"C:\\games\\QVorvane.exe\0/x\0"s, "QVorvane.exe", "QVorvane.exe"},  // a compatibility layer
      {"/usr/bin/python3\0-u\0/home/u/tool.py\0"s, "tool.py", "tool.py"},  // script and interpreter
      {"/bin/bash\0-c\0true\0"s, "renamed", "renamed"},                    // nothing begins with comm
      {""s, "kworker/0:1", "kworker/0:1"},                                  // a kernel thread
      {"relative-name\0"s, "relative-name", "relative-name"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImageNameFromCommandLine(c.cmdline, c.comm), c.image_name) << c.comm;
  }
}

class ProcessTableTest : public test::TempRootTest {};

TEST_F(ProcessTableTest, SnapshotNamesARealChildByItsWholeFileName) {
  const std::string program = root_.Path("QVorvaneHelperProcess.exe");  // longer than comm's 15 bytes
  test::CopyProgramProbe(program);
  test::WaitingProcess child(program);
  const auto snapshot = SystemProcessTable().Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  const auto found = std::find_if(snapshot->begin(), snapshot->end(),
                                  [&](const ProcessEntry& entry) { return entry.pid == child.pid(); });
  ASSERT_NE(found, snapshot->end());
  EXPECT_EQ(found->image_name, "QVorvaneHelperProcess.exe");
  EXPECT_TRUE(std::is_sorted(snapshot->begin(), snapshot->end(),
                             [](const ProcessEntry& a, const ProcessEntry& b) { return a.pid < b.pid; }));
}

TEST_F(ProcessTableTest, TerminateEndsOneProcessAndRefusesGroupIds) {
  const std::string program = root_.Path("victim.bin");
  test::CopyProgramProbe(program);
  test::WaitingProcess child(program);
  // 0 and negative ids would signal our own group or every process we may signal.
  EXPECT_FALSE(SystemProcessTable().Terminate(0));
  EXPECT_FALSE(SystemProcessTable().Terminate(-1));
  EXPECT_FALSE(SystemProcessTable().Terminate(-child.pid()));
  EXPECT_TRUE(SystemProcessTable().Terminate(child.pid()));
  EXPECT_TRUE(child.Reap());  // reaped although its standard input is still open: it was killed
}

TEST(RealUidTest, IsTheFirstNumberOfTheUidLine) {
  const std::pair<std::string, std::optional<uid_t>> cases[] = {
      {"Name:\tx\nUid:\t1000\t0\t0\t0\nGid:\t5\n", 1000},
      {"Uid:\t0\t1000\t1000\t1000", 0},
      {"Uid:   65534 65534 65534 65534\n", 65534},
      {"Name:\tUid:\t7\n", std::nullopt},  // only a line's start counts
      {"Uid:\t\n", std::nullopt},
      {"Uid:\tx\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [status, uid] : cases) EXPECT_EQ(RealUidFromStatus(status), uid) << status;
}

TEST(HasEndedTest, ZombiesAndDeadProcessesHaveEnded) {
  const std::pair<std::string, bool> cases[] = {
      {"Name:\tx\nState:\tZ (zombie)\nUid:\t0\n", true},
      {"State:\tX (dead)", true},
      {"State:\tS (sleeping)\n", false},
      {"State:\tR (running)\n", false},
      {"Name:\tState:\tZ\n", false},  // only a line's start counts
      {"", false},
  };
  for (const auto& [status, ended] : cases) EXPECT_EQ(HasEndedFromStatus(status), ended) << status;
}

// A process that has ended but that its parent has not yet collected runs no more: it is not
// listed, or closing a client would find it again after every pass.
TEST_F(ProcessTableTest, AnEndedProcessNotYetCollectedIsNotListed) {
  const std::string program = root_.Path("QVorvane.exe");
  test::CopyProgramProbe(program);
  test::WaitingProcess child(program);
  ASSERT_EQ(kill(child.pid(), SIGKILL), 0);
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, child.pid(), &info, WEXITED | WNOWAIT), 0);  // ended, not collected

  const auto snapshot = SystemProcessTable().Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  EXPECT_TRUE(std::none_of(snapshot->begin(), snapshot->end(),
                           [&](const ProcessEntry& entry) { return entry.pid == child.pid(); }));
  EXPECT_TRUE(child.Reap());
}

// Processes that end while the list is read are left out; a scan never fails for them. Each child
// ends at once, so many of them end between the folder listing and the reads of their files.
TEST_F(ProcessTableTest, ScanRacingShortLivedProcessesNeverFails) {
  // posix_spawn does not copy the test's memory (cheap under the sanitizers too); the run is
  // bounded by a count and, on a very slow machine, by a time.
  constexpr int kChildren = 2000;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::atomic<bool> done{false};
  std::thread spawner([&] {
    char program[] = "/bin/true";
    char* const argv[] = {program, nullptr};
    for (int i = 0; i < kChildren && std::chrono::steady_clock::now() < give_up; ++i) {
      pid_t pid = 0;
      if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) == 0) {
        waitpid(pid, nullptr, 0);
      }
    }
    done = true;
  });
  int scans = 0;
  while (!done) {
    const auto snapshot = SystemProcessTable().Snapshot();
    ASSERT_TRUE(snapshot.has_value());
    EXPECT_NE(std::find_if(snapshot->begin(), snapshot->end(),
                           [](const ProcessEntry& entry) { return entry.pid == getpid(); }),
              snapshot->end());
    ++scans;
  }
  spawner.join();
  EXPECT_GT(scans, 0);
}

// Run as root, the installer could signal anybody: another user's process is neither listed
// nor ended.
TEST_F(ProcessTableTest, AnotherUsersProcessIsNeitherListedNorEnded) {
  if (geteuid() != 0) GTEST_SKIP() << "starting a process of another user needs root";
  std::string program = root_.Path("QVorvane.exe");
  test::CopyProgramProbe(program);
  ASSERT_EQ(chmod(root_.path().c_str(), 0755), 0);  // the other user starts the program from here
  int to_child[2];
  int from_child[2];
  ASSERT_EQ(pipe2(to_child, O_CLOEXEC), 0);  // no later child may hold its ends
  ASSERT_EQ(pipe2(from_child, O_CLOEXEC), 0);
  // "nobody" may not read the sanitizer's suppressions below the build folder; the probe starts
  // without sanitizer options (the defaults suffice for it).
  std::vector<std::string> kept_environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text = *entry;
    if (!text.starts_with("TSAN_OPTIONS=") && !text.starts_with("ASAN_OPTIONS=") &&
        !text.starts_with("UBSAN_OPTIONS=")) {
      kept_environment.emplace_back(text);
    }
  }
  std::vector<char*> child_environment;
  for (std::string& entry : kept_environment) child_environment.push_back(entry.data());
  child_environment.push_back(nullptr);
  char* const child_arguments[] = {program.data(), const_cast<char*>("wait"), nullptr};
  const pid_t other = fork();
  if (other == 0) {
    // The probe runs as "nobody", says so with one byte and waits for its input to close.
    dup2(to_child[0], 0);
    dup2(from_child[1], 1);
    close(to_child[1]);
    close(from_child[0]);
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(126);
    execve(program.c_str(), child_arguments, child_environment.data());
    _exit(127);
  }
  ASSERT_GT(other, 0);
  close(to_child[0]);
  close(from_child[1]);
  char running = 0;
  ASSERT_EQ(read(from_child[0], &running, 1), 1);
  close(from_child[0]);
  test::WaitingProcess own(program);

  const auto snapshot = SystemProcessTable().Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  const auto listed = [&](pid_t pid) {
    return std::any_of(snapshot->begin(), snapshot->end(),
                       [pid](const ProcessEntry& entry) { return entry.pid == pid; });
  };
  EXPECT_FALSE(listed(other));
  EXPECT_TRUE(listed(own.pid()));
  EXPECT_FALSE(SystemProcessTable().Terminate(other));
  EXPECT_EQ(kill(other, 0), 0);  // still running

  close(to_child[1]);
  int status = 0;
  EXPECT_EQ(waitpid(other, &status, 0), other);
  EXPECT_TRUE(WIFEXITED(status)) << status;
}

}  // namespace
}  // namespace qv::platform
