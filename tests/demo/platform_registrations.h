// The registry entries an installation of the platform makes, laid out for a test of the demo
// uninstaller (the same on Linux, in the registry stand-in, and under Wine, in the prefix's
// registry), with entries of others beside them, and the check that only the platform's went.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"
#include "registration_keys.h"

namespace qv::test {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kClientIdKey[] = "Software\\qvorvane\\main";

inline void SetRegistryString(platform::RegistryRoot root, const std::string& key_path,
                              const std::string& name, const std::string& text) {
  platform::RegistryKey key;
  ASSERT_EQ(platform::CurrentRegistry().CreateKey(root, key_path, platform::key_access::kAll, key),
            platform::RegistryStatus::kOk);
  ASSERT_EQ(key.SetStringValue(name, text), platform::RegistryStatus::kOk);
}

inline bool RegistryKeyExists(platform::RegistryRoot root, const std::string& key_path) {
  platform::RegistryKey key;
  return platform::CurrentRegistry().OpenKey(root, key_path, platform::key_access::kRead, key) ==
         platform::RegistryStatus::kOk;
}

inline bool RegistryValueExists(platform::RegistryRoot root, const std::string& key_path,
                                const std::string& name) {
  platform::RegistryKey key;
  platform::RegistryValue value;
  return platform::CurrentRegistry().OpenKey(root, key_path, platform::key_access::kRead, key) ==
             platform::RegistryStatus::kOk &&
         key.QueryValue(name, 1024, value) == platform::RegistryStatus::kOk;
}

// The platform's entries for an installation in `platform_folder` (ending in a separator), a
// start-up value of another program and the installer's client id.
inline void RegisterPlatformInstallation(const std::string& platform_folder) {
  using platform::RegistryRoot;
  for (const RegistryRoot root : {RegistryRoot::kLocalMachine, RegistryRoot::kCurrentUser}) {
    SetRegistryString(root, kUninstallKey, "InstallLocation", platform_folder);
    SetRegistryString(root, kAppPathsKey, "", platform_folder + "QVORVANE.EXE");
  }
  SetRegistryString(RegistryRoot::kClassesRoot, "QVorvane", "URL Protocol", "");
  SetRegistryString(RegistryRoot::kClassesRoot, "QVorvane\\DefaultIcon", "",
                    platform_folder + "QVorvane.exe,-0");
  SetRegistryString(RegistryRoot::kClassesRoot, "QVorvane\\shell\\open\\command", "",
                    "\"x\"  \"%1\"");
  SetRegistryString(RegistryRoot::kCurrentUser, kRunKey, "qvorvane", "\"x\"   /auto_start=1 ");
  SetRegistryString(RegistryRoot::kCurrentUser, kRunKey, "other", "other program");
  SetRegistryString(RegistryRoot::kCurrentUser, kClientIdKey, "client_id", "abc");
}

// The platform's entries are gone; the other program's value and the client id stay.
inline void ExpectOnlyPlatformRegistrationsRemoved() {
  using platform::RegistryRoot;
  for (const RegistryRoot root : {RegistryRoot::kLocalMachine, RegistryRoot::kCurrentUser}) {
    EXPECT_FALSE(RegistryKeyExists(root, kUninstallKey));
    EXPECT_FALSE(RegistryKeyExists(root, kAppPathsKey));
  }
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::kClassesRoot, "QVorvane"));
  EXPECT_FALSE(RegistryValueExists(RegistryRoot::kCurrentUser, kRunKey, "qvorvane"));
  EXPECT_TRUE(RegistryValueExists(RegistryRoot::kCurrentUser, kRunKey, "other"));
  EXPECT_TRUE(RegistryValueExists(RegistryRoot::kCurrentUser, kClientIdKey, "client_id"));
}

}  // namespace qv::test
