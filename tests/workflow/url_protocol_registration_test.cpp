#include "workflow/registration/url_protocol_registration.h"

#include <gtest/gtest.h>

#include "registry_machine.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"
#include "system_files.h"

namespace qv::workflow {
namespace {

using platform::RegistryRoot;

class UrlProtocolRegistrationTest : public test::RegistryMachineTest {
 protected:
  util::AppFolders folders_;
  std::string Client() { return util::WideToUtf8(folders_.PlatformFolder()) + "QVorvane.exe"; }
  std::string Command() { return "\"" + Client() + "\"  \"%1\""; }
};

TEST_F(UrlProtocolRegistrationTest, FreshRegistrationLandsInTheCurrentUsersClassesAsWritten) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRegistryFile;
  RegisterUrlProtocol(folders_);
  const std::string client = test::LocalAppDataPath("Qvorvane/app/QVorvane.exe");
  EXPECT_EQ(FileText(RegistryRoot::kCurrentUser),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Classes]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Classes\\QVorvane]\n"
            "@=\"QVorvane protocol\"\n"
            "\"URL Protocol\"=\"\"\n\n"
            "[HKEY_CURRENT_USER\\Software\\Classes\\QVorvane\\DefaultIcon]\n"
            "@=\"" + client + ",-0\"\n\n"
            "[HKEY_CURRENT_USER\\Software\\Classes\\QVorvane\\shell]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Classes\\QVorvane\\shell\\open]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Classes\\QVorvane\\shell\\open\\command]\n"
            "@=\"\\\"" + client + "\\\"  \\\"%1\\\"\"\n\n");
  // A second run changes nothing.
  const std::string first = FileText(RegistryRoot::kCurrentUser);
  RegisterUrlProtocol(folders_);
  EXPECT_EQ(FileText(RegistryRoot::kCurrentUser), first);
  EXPECT_EQ(FileText(RegistryRoot::kLocalMachine), "");
}

TEST_F(UrlProtocolRegistrationTest, ExistingIconStaysAndCommandStaysOnlyWhileItNamesTheClient) {
  const struct {
    std::string existing_command;
    bool replaced;
  } cases[] = {
      {"\"/opt/old/QVorvane.exe\"  \"%1\"", true},
      {"launcher --wrap " + Client() + " --url=%1", false},
      {Command(), false},
      // The test is case-sensitive although the file would be found in any case.
      {"\"" + util::WideToUtf8(folders_.PlatformFolder()) + "QVORVANE.EXE\"  \"%1\"", true},
      {"", true},
  };
  for (const auto& c : cases) {
    SetValue(RegistryRoot::kClassesRoot, kProtocolIconKey, "", "/opt/old/QVorvane.exe,-0");
    SetValue(RegistryRoot::kClassesRoot, kProtocolCommandKey, "", c.existing_command);
    RegisterUrlProtocol(folders_);
    EXPECT_EQ(Value(RegistryRoot::kClassesRoot, kProtocolIconKey, ""), "/opt/old/QVorvane.exe,-0");
    EXPECT_EQ(Value(RegistryRoot::kClassesRoot, kProtocolCommandKey, ""),
              c.replaced ? Command() : c.existing_command)
        << c.existing_command;
  }
}

}  // namespace
}  // namespace qv::workflow
