#include "workflow/folders/emulator_folder.h"

#include <gtest/gtest.h>

#include "registry_machine.h"

namespace qv::workflow {
namespace {

using platform::RegistryRoot;

constexpr std::string_view kEmulatorKey = "Software\\Wow6432Node\\BlueStacks_tolvik";

class EmulatorFolderTest : public test::RegistryMachineTest {};

TEST_F(EmulatorFolderTest, ProgramSubPathIsTakenOutExactly) {
  const struct {
    std::string_view install_dir;
    std::u16string_view folder;
  } cases[] = {
      {"/home/u/QVorvane/BlueStacks_tolvik/ProgramFiles/", u"/home/u/QVorvane/"},
      {"C:\\QVorvane\\BlueStacks_tolvik\\ProgramFiles\\", u"C:\\QVorvane\\"},
      // Another letter case is another folder on this system: the value stays.
      {"/home/u/QVorvane/bluestacks_tolvik/programfiles/",
       u"/home/u/QVorvane/bluestacks_tolvik/programfiles/"},
      {"/opt/emulator/", u"/opt/emulator/"},
      {"/a/BlueStacks_tolvik/ProgramFiles/b/BlueStacks_tolvik/ProgramFiles/", u"/a/b/"},
      {"/home/u/Кино/BlueStacks_tolvik/ProgramFiles/", u"/home/u/Кино/"},
  };
  for (const auto& c : cases) {
    SetValue(RegistryRoot::kLocalMachine, kEmulatorKey, "InstallDir", c.install_dir);
    EXPECT_EQ(FindEmulatorFolder(), c.folder) << c.install_dir;
  }
}

TEST_F(EmulatorFolderTest, NoKeyNoValueOrAValueTooLongGiveEmptyText) {
  EXPECT_EQ(FindEmulatorFolder(), u"");
  // Written per user, the variant is not found: only the machine root counts.
  SetValue(RegistryRoot::kCurrentUser, kEmulatorKey, "InstallDir", "/opt/emulator/");
  EXPECT_EQ(FindEmulatorFolder(), u"");
  SetValue(RegistryRoot::kLocalMachine, kEmulatorKey, "Other", "/opt/emulator/");
  EXPECT_EQ(FindEmulatorFolder(), u"");
  // 511 characters fit the 1,024-byte read; 512 do not.
  const std::string longest = "/" + std::string(510, 'x');
  SetValue(RegistryRoot::kLocalMachine, kEmulatorKey, "InstallDir", longest);
  EXPECT_EQ(FindEmulatorFolder().size(), 511u);
  SetValue(RegistryRoot::kLocalMachine, kEmulatorKey, "InstallDir", longest + "x");
  EXPECT_EQ(FindEmulatorFolder(), u"");
}

}  // namespace
}  // namespace qv::workflow
