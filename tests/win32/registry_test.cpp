// The registry on Windows: what the code stores is read back through the system's functions and
// through the prefix's own reg.exe, and what another program stored is read by the code.
#include "platform/registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "platform/win32/windows_api.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "windows_command.h"

namespace qv::platform {
namespace {

using test::RunWindowsCommand;
using ::testing::HasSubstr;

constexpr char kUninstallKey[] =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qvorvane";

// The raw REG_SZ data size the system holds for a value.
DWORD StoredSize(HKEY root, const std::string& key, const std::string& value) {
  DWORD size = 0;
  RegGetValueW(root, win32::Wide(key).c_str(), win32::Wide(value).c_str(), RRF_RT_ANY, nullptr,
               nullptr, &size);
  return size;
}

TEST(RegistryTest, StringValuesAreStoredAsTheSystemsOwnWithTheirNulCounted) {
  const RegistryStore& registry = CurrentRegistry();
  RegistryKey key;
  // The missing ancestors are made too; the path is used exactly as written.
  ASSERT_EQ(registry.CreateKey(RegistryRoot::kCurrentUser, kUninstallKey, key_access::kAll, key),
            RegistryStatus::kOk);
  ASSERT_EQ(key.SetStringValue("DisplayName", "QVorvane"), RegistryStatus::kOk);
  ASSERT_EQ(key.SetStringValue("Comments", "Tides of Valoria \u2162"), RegistryStatus::kOk);
  ASSERT_EQ(key.SetStringValue("", std::string("cut\0here", 8)), RegistryStatus::kOk);

  EXPECT_EQ(StoredSize(HKEY_CURRENT_USER, kUninstallKey, "DisplayName"), 18u);
  EXPECT_EQ(StoredSize(HKEY_CURRENT_USER, kUninstallKey, "Comments"), 38u);
  const auto query =
      RunWindowsCommand("reg.exe query \"HKCU\\" + std::string(kUninstallKey) + "\"");
  EXPECT_EQ(query.exit_code, 0) << query.output;
  EXPECT_THAT(query.output, HasSubstr("DisplayName    REG_SZ    QVorvane"));
  EXPECT_THAT(query.output, HasSubstr("REG_SZ    cut"));
  EXPECT_THAT(query.output, ::testing::Not(HasSubstr("here")));

  RegistryValue value;
  ASSERT_EQ(key.QueryValue("comments", 1024, value), RegistryStatus::kOk);  // any letter case
  EXPECT_EQ(value.type, RegistryValueType::kString);
  EXPECT_EQ(value.text, "Tides of Valoria \u2162");
  EXPECT_EQ(value.size_in_bytes, 38u);
  // Too small a buffer: the size needed, and no data.
  ASSERT_EQ(key.QueryValue("DisplayName", 17, value), RegistryStatus::kMoreData);
  EXPECT_EQ(value.size_in_bytes, 18u);
  EXPECT_EQ(value.text, "");
}

TEST(RegistryTest, ValuesAnotherProgramStoredAreRead) {
  ASSERT_EQ(RunWindowsCommand("reg.exe add HKCU\\Software\\TOV3 /v TOV3 /t REG_DWORD /d 7 /f")
                .exit_code,
            0);
  ASSERT_EQ(RunWindowsCommand(
                "reg.exe add HKCU\\Software\\TOV3 /v tov3path /t REG_SZ /d C:\\Games\\TOV3 /f")
                .exit_code,
            0);
  RegistryKey key;
  ASSERT_EQ(CurrentRegistry().OpenKey(RegistryRoot::kCurrentUser, "SOFTWARE\\tov3",
                                      key_access::kRead, key),
            RegistryStatus::kOk);
  RegistryValue value;
  ASSERT_EQ(key.QueryValue("TOV3", 4, value), RegistryStatus::kOk);
  EXPECT_EQ(value.type, RegistryValueType::kDword);
  EXPECT_EQ(value.number, 7u);
  ASSERT_EQ(key.QueryValue("tov3path", 260, value), RegistryStatus::kOk);
  EXPECT_EQ(value.text, "C:\\Games\\TOV3");
  // Opened for reading only.
  EXPECT_EQ(key.SetStringValue("TOV3", "x"), RegistryStatus::kAccessDenied);
  EXPECT_EQ(key.DeleteValue("TOV3"), RegistryStatus::kAccessDenied);
}

TEST(RegistryTest, MissingDeletedAndRefusedKeysHaveTheirStatus) {
  const RegistryStore& registry = CurrentRegistry();
  RegistryKey key;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::kCurrentUser, "Software\\nothing", key_access::kRead,
                             key),
            RegistryStatus::kNotFound);
  EXPECT_FALSE(key.IsOpen());
  for (const std::string& bad : {std::string("Software\\\\twice"), std::string(256, 'k'),
                                 std::string("Software\\line\nbreak")}) {
    EXPECT_EQ(registry.CreateKey(RegistryRoot::kCurrentUser, bad, key_access::kAll, key),
              RegistryStatus::kInvalidName)
        << bad;
  }

  ASSERT_EQ(registry.CreateKey(RegistryRoot::kCurrentUser, "Software\\qvorvane\\main",
                               key_access::kAll, key),
            RegistryStatus::kOk);
  ASSERT_EQ(key.SetStringValue("Install", "1"), RegistryStatus::kOk);
  EXPECT_EQ(registry.DeleteKey(RegistryRoot::kCurrentUser, "Software\\qvorvane"),
            RegistryStatus::kHasSubKeys);
  EXPECT_EQ(registry.DeleteKey(RegistryRoot::kCurrentUser, ""), RegistryStatus::kAccessDenied);
  ASSERT_EQ(key.DeleteValue("Install"), RegistryStatus::kOk);
  EXPECT_EQ(key.DeleteValue("Install"), RegistryStatus::kNotFound);
  ASSERT_EQ(registry.DeleteKey(RegistryRoot::kCurrentUser, "Software\\qvorvane\\main"),
            RegistryStatus::kOk);
  // The key was deleted after it was opened.
  RegistryValue value;
  EXPECT_EQ(key.QueryValue("Install", 16, value), RegistryStatus::kNotFound);
  EXPECT_EQ(key.SetStringValue("Install", "1"), RegistryStatus::kNotFound);
  EXPECT_NE(RunWindowsCommand("reg.exe query HKCU\\Software\\qvorvane\\main").exit_code, 0);
}

TEST(RegistryTest, TheClassesRootIsTheSystemsMergedView) {
  RegistryKey key;
  ASSERT_EQ(CurrentRegistry().CreateKey(RegistryRoot::kClassesRoot, "QVorvane\\shell\\open\\command",
                                        key_access::kAll, key),
            RegistryStatus::kOk);
  ASSERT_EQ(key.SetStringValue("", "\"C:\\QVorvane\\QVorvane.exe\"  \"%1\""), RegistryStatus::kOk);
  const auto query = RunWindowsCommand("reg.exe query HKCR\\QVorvane\\shell\\open\\command /ve");
  EXPECT_EQ(query.exit_code, 0) << query.output;
  EXPECT_THAT(query.output, HasSubstr("REG_SZ    \"C:\\QVorvane\\QVorvane.exe\"  \"%1\""));
}

}  // namespace
}  // namespace qv::platform
