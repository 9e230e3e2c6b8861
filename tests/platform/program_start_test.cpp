#include "platform/program_start.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/os_handles.h"
#include "program_probe.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

class ProgramStartTest : public test::TempRootTest {};

TEST_F(ProgramStartTest, TheProgramRunsDetachedInItsFolderWithExactlyItsArguments) {
  const std::string program = root_.Path("Client Dir/QVorvane.exe");
  fs::create_directories(root_.Path("Client Dir/Work \xc3\xa4"));
  test::CopyProgramProbe(program);
  test::ProbeReport report(root_.Path("report.fifo"));
  // A descriptor of ours without close-on-exec must not reach the program.
  const FdHandle leaked(open(root_.WriteFile("open.txt", "x").c_str(), O_RDONLY));
  ASSERT_TRUE(leaked.valid());

  ASSERT_TRUE(StartProgram(root_.Path("client dir/qvorvane.EXE"),
                           {"/game=312", "two words", "", "\xe6\xb8\xb8\xe6\x88\x8f", "a\"b"},
                           root_.Path("CLIENT DIR/work \xc3\x84")));
  EXPECT_EQ(report.Read(), "cwd=" + root_.Path("Client Dir/Work \xc3\xa4") +
                               "\nown_session=1\nstdin=/dev/null\nstdout=/dev/null\nstderr=/dev/null"
                               "\nextra_fds=0\narg=/game=312\narg=two words\narg=\narg="
                               "\xe6\xb8\xb8\xe6\x88\x8f\narg=a\"b\n");
}

TEST_F(ProgramStartTest, NothingStartsFromAMissingOrUnusableFile) {
  const std::string not_executable = root_.WriteFile("data.txt", "plain");
  const std::string program = root_.Path("probe.bin");
  test::CopyProgramProbe(program);
  EXPECT_FALSE(StartProgram(root_.Path("missing.exe"), {}, ""));
  EXPECT_FALSE(StartProgram(not_executable, {}, ""));
  EXPECT_FALSE(StartProgram(root_.path(), {}, ""));
  EXPECT_FALSE(StartProgram("", {}, ""));
  EXPECT_FALSE(StartProgram(program, {}, root_.Path("missing-folder")));
}

}  // namespace
}  // namespace qv::platform
