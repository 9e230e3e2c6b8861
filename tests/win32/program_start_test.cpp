// Starting a program on Windows: the prefix's reg.exe receives exactly the arguments given
// (read back from the registry it wrote) and runs in the working folder given.
#include "platform/program_start.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <chrono>
#include <thread>

#include "platform/registry.h"
#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

class ProgramStartTest : public test::WindowsTempFolderTest {
 protected:
  static std::string SystemProgram(const std::string& name) {
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    return win32::Utf8(folder) + "\\" + name;
  }
};

// Waits for what the started program leaves behind. A bound for a broken run, not a timing
// policy: nobody waits for a started program, so its effect is the only sign that it ran.
template <typename Done>
bool Eventually(Done done) {
  for (int i = 0; i < 600; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST_F(ProgramStartTest, ArgumentsArriveAsGivenAndTheWorkingFolderIsUsed) {
  const std::string value = "x \"quoted\" and a trailing backslash\\";
  ASSERT_TRUE(StartProgram(SystemProgram("reg.exe"),
                           {"add", "HKCU\\Software\\started", "/v", "with blanks", "/d", value, "/f"},
                           ""));
  RegistryValue stored;
  ASSERT_TRUE(Eventually([&] {
    RegistryKey key;
    return CurrentRegistry().OpenKey(RegistryRoot::kCurrentUser, "Software\\started",
                                     key_access::kRead, key) == RegistryStatus::kOk &&
           key.QueryValue("with blanks", 1024, stored) == RegistryStatus::kOk;
  }));
  EXPECT_EQ(stored.text, value);

  ASSERT_TRUE(StartProgram(SystemProgram("reg.exe"),
                           {"export", "HKCU\\Software\\started", "exported.reg", "/y"},
                           root_.path()));
  EXPECT_TRUE(Eventually([&] {
    return GetFileAttributesW(win32::Wide(root_.Path("exported.reg")).c_str()) !=
           INVALID_FILE_ATTRIBUTES;
  }));
}

TEST_F(ProgramStartTest, AMissingProgramIsNotStarted) {
  EXPECT_FALSE(StartProgram(root_.Path("missing.exe"), {}, ""));
  EXPECT_FALSE(StartProgram("", {}, ""));
}

}  // namespace
}  // namespace qv::platform
