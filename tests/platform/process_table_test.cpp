#include "platform/process_table.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>

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

}  // namespace
}  // namespace qv::platform
