#include "platform/posix/socket_single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <thread>

#include "child_process.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

constexpr const char* kName = "QvorvaneDownloaderapp_global_only_mutex";
constexpr int kTestWaitMs = 20000;  // only a broken hand-over waits this long

class SingleInstanceTest : public test::TempRootTest {};

TEST_F(SingleInstanceTest, FolderIsTheRuntimeFolderElseTheCacheFolder) {
  EXPECT_EQ(InstanceFolder(), root_.runtime_dir());
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceFolder(), root_.Path("home/.cache"));
  unsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(InstanceFolder(), root_.home() + "/.cache");
}

TEST_F(SingleInstanceTest, SecondStartHandsOverToTheRunningInstanceAndExitsZero) {
  test::ChildProcess first({QV_STORE_WRITER_PATH, "hold-instance", kName});
  ASSERT_TRUE(first.started());
  ASSERT_EQ(first.ReadLine(), "acquired");

  std::unique_ptr<SocketSingleInstance> instance;
  EXPECT_EQ(SocketSingleInstance::Acquire(kName, instance), InstanceLockResult::kHeldElsewhere);
  EXPECT_EQ(instance, nullptr);

  test::ChildProcess second({QV_STORE_WRITER_PATH, "instance", kName});
  EXPECT_EQ(second.ReadLine(), "held");
  EXPECT_EQ(second.ReadLine(), "sent");
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_EQ(first.ReadLine(), "shown");

  // The lock lives as long as the process, however it ends; its socket file outlives it.
  first.Kill(SIGKILL);
  first.Wait();
  EXPECT_FALSE(SendShowRequest(kName));  // nobody listens: no hand-over, no wait
  ASSERT_EQ(SocketSingleInstance::Acquire(kName, instance), InstanceLockResult::kAcquired);
  ASSERT_NE(instance, nullptr);
  ASSERT_GE(instance->listen_fd(), 0);

  test::ChildProcess third({QV_STORE_WRITER_PATH, "instance", kName});
  EXPECT_EQ(third.ReadLine(), "held");
  EXPECT_TRUE(instance->WaitForShowRequest(kTestWaitMs));
  EXPECT_EQ(third.ReadLine(), "sent");
  EXPECT_EQ(third.Wait(), 0);
  EXPECT_EQ(instance->TakeShowRequests(), 0);
}

TEST_F(SingleInstanceTest, AnEndedInstanceLeavesNobodyToHandOverTo) {
  std::unique_ptr<SingleInstance> instance;
  ASSERT_EQ(SingleInstance::Acquire(kName, instance), InstanceLockResult::kAcquired);
  const std::string socket = root_.runtime_dir() + "/" + kName + ".sock";
  ASSERT_TRUE(std::filesystem::exists(socket));
  instance.reset();  // gone with its socket
  EXPECT_FALSE(std::filesystem::exists(socket));
  EXPECT_FALSE(SendShowRequest(kName));
}

TEST_F(SingleInstanceTest, DeepFolderBeyondTheSocketNameLimitWorks) {
  std::string folder = root_.Path("rüntime with blanks");
  while (folder.size() < 300) folder += "/" + std::string(60, 'd');
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);  // TempRoot restores it
  std::unique_ptr<SocketSingleInstance> instance;
  ASSERT_EQ(SocketSingleInstance::Acquire(kName, instance), InstanceLockResult::kAcquired);
  ASSERT_GE(instance->listen_fd(), 0);
  std::unique_ptr<SingleInstance> other;
  EXPECT_EQ(SingleInstance::Acquire(kName, other), InstanceLockResult::kHeldElsewhere);

  bool sent = false;
  std::thread second_start([&sent] { sent = SendShowRequest(kName); });
  EXPECT_TRUE(instance->WaitForShowRequest(kTestWaitMs));
  second_start.join();
  EXPECT_TRUE(sent);
}

TEST_F(SingleInstanceTest, NoLockPossibleCountsAsTheOnlyInstance) {
  root_.WriteFile("not-a-folder", "file");
  setenv("XDG_RUNTIME_DIR", root_.Path("not-a-folder").c_str(), 1);
  std::unique_ptr<SingleInstance> instance;
  EXPECT_EQ(SingleInstance::Acquire(kName, instance), InstanceLockResult::kUnavailable);
  EXPECT_EQ(instance, nullptr);
}

}  // namespace
}  // namespace qv::platform
