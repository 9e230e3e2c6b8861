#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "platform/registry.h"
#include "platform/registry_file_format.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

class RegistryStoreTest : public test::TempRootTest {
 protected:
  // The store of a normal user and of an administrator, whoever runs the tests.
  RegistryStore user_{DefaultRegistryLocations, [] { return false; }};
  RegistryStore administrator_{DefaultRegistryLocations, [] { return true; }};

  std::string UserFile() const { return DefaultRegistryLocations().current_user_file; }
  std::string MachineFile() const { return DefaultRegistryLocations().local_machine_file; }

  RegistryKey Create(const RegistryStore& store, RegistryRoot root, std::string_view path) {
    RegistryKey key;
    EXPECT_EQ(store.CreateKey(root, path, key_access::kAll, key), RegistryStatus::kOk) << path;
    return key;
  }

  std::string Query(const RegistryKey& key, std::string_view name) {
    RegistryValue value;
    const RegistryStatus status = key.QueryValue(name, 1 << 20, value);
    return status == RegistryStatus::kOk ? value.text : "<" + std::to_string(int(status)) + ">";
  }
};

TEST_F(RegistryStoreTest, FileShowsValuesInFirstWrittenOrderAtTheDesignedPlace) {
  RegistryKey key = Create(user_, RegistryRoot::kCurrentUser, "Software\\qvorvane\\main");
  EXPECT_EQ(key.SetStringValue("b", "1"), RegistryStatus::kOk);
  EXPECT_EQ(key.SetStringValue("", "default"), RegistryStatus::kOk);
  EXPECT_EQ(key.SetStringValue("a", "2"), RegistryStatus::kOk);
  EXPECT_EQ(key.SetStringValue("B", "3"), RegistryStatus::kOk);  // the same value as "b"
  EXPECT_EQ(UserFile(), root_.config_home() + "/qvorvane-registry/HKEY_CURRENT_USER.reg");
  EXPECT_EQ(test::ReadFileBytes(UserFile()).value_or(""),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software]\n\n"
            "[HKEY_CURRENT_USER\\Software\\qvorvane]\n\n"
            "[HKEY_CURRENT_USER\\Software\\qvorvane\\main]\n"
            "\"b\"=\"3\"\n"
            "@=\"default\"\n"
            "\"a\"=\"2\"\n\n");
}

TEST_F(RegistryStoreTest, KeyAndValueNamesMatchWithoutRegardToCase) {
  Create(user_, RegistryRoot::kCurrentUser, "Software\\QVorvane\\Main")
      .SetStringValue("Client_ID", "x");
  RegistryKey again;
  ASSERT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, "SOFTWARE\\qvorvane\\MAIN\\",
                          key_access::kRead, again),
            RegistryStatus::kOk);
  EXPECT_EQ(Query(again, "client_id"), "x");
  Create(user_, RegistryRoot::kCurrentUser, "software\\qvorvane\\main");  // opens, adds nothing
  const std::string file = test::ReadFileBytes(UserFile()).value_or("");
  EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\QVorvane\\Main]\n\"Client_ID\"=\"x\""),
            std::string::npos);
  EXPECT_EQ(file.find("software"), std::string::npos);
}

TEST_F(RegistryStoreTest, NonAsciiBlanksLineBreaksAndDeepFoldersRoundTrip) {
  std::string config = root_.Path("config 游戏");
  while (config.size() < 3000) config += "/" + std::string(200, 'c');
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);  // TempRoot restores it
  const std::string path = "Software\\游戏 Ⅲ\\App Paths\\x]y";
  const std::string data = "C:\\Program Files\\\"q\"\n[HKEY_CURRENT_USER\\Evil]\r\n\"z\"=\"1\"";
  Create(user_, RegistryRoot::kCurrentUser, path).SetStringValue("Näme \"q\"", data);
  RegistryKey key;
  ASSERT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, path, key_access::kRead, key),
            RegistryStatus::kOk);
  EXPECT_EQ(Query(key, "nÄME \"Q\""), data);
  RegistryKey injected;
  EXPECT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, "Evil", key_access::kRead, injected),
            RegistryStatus::kNotFound);
  EXPECT_EQ(UserFile(), config + "/qvorvane-registry/HKEY_CURRENT_USER.reg");
  EXPECT_TRUE(test::ReadFileBytes(UserFile()).has_value());
}

TEST_F(RegistryStoreTest, ClassesRootLandsInTheCurrentUsersClasses) {
  Create(user_, RegistryRoot::kClassesRoot, "QVorvane\\shell\\open\\command")
      .SetStringValue("", "\"/q/QVorvane.exe\"  \"%1\"");
  RegistryKey key;
  ASSERT_EQ(
      user_.OpenKey(RegistryRoot::kCurrentUser, "Software\\Classes\\QVorvane\\shell\\open\\command",
                    key_access::kRead, key),
      RegistryStatus::kOk);
  EXPECT_EQ(Query(key, ""), "\"/q/QVorvane.exe\"  \"%1\"");
}

TEST_F(RegistryStoreTest, MachineRootIsWritableOnlyForTheAdministrator) {
  const std::string path =
      "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QVORVANE.EXE";
  RegistryKey key;
  EXPECT_EQ(
      user_.CreateKey(RegistryRoot::kLocalMachine, path,
                      key_access::kRead | key_access::kSetValue | key_access::kCreateSubKey, key),
      RegistryStatus::kAccessDenied);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(user_.CreateKey(RegistryRoot::kLocalMachine, path, key_access::kRead, key),
            RegistryStatus::kAccessDenied);  // reading rights, but the key would have to be made
  EXPECT_FALSE(test::ReadFileBytes(MachineFile()).has_value());

  Create(administrator_, RegistryRoot::kLocalMachine, path).SetStringValue("", "/q/QVORVANE.EXE");
  EXPECT_EQ(MachineFile(), root_.machine_root() + "/registry/HKEY_LOCAL_MACHINE.reg");

  ASSERT_EQ(user_.OpenKey(RegistryRoot::kLocalMachine, path,
                          key_access::kRead | key_access::kView64, key),
            RegistryStatus::kOk);
  EXPECT_EQ(Query(key, ""), "/q/QVORVANE.EXE");
  EXPECT_EQ(key.SetStringValue("", "other"), RegistryStatus::kAccessDenied);
  EXPECT_EQ(key.DeleteValue(""), RegistryStatus::kAccessDenied);
  EXPECT_EQ(user_.DeleteKey(RegistryRoot::kLocalMachine, path), RegistryStatus::kAccessDenied);
  EXPECT_EQ(Query(key, ""), "/q/QVORVANE.EXE");
}

TEST_F(RegistryStoreTest, KeyWithSubKeysIsNotDeleted) {
  Create(user_, RegistryRoot::kCurrentUser, "SOFTWARE\\TOV3\\Sub").SetStringValue("v", "1");
  Create(user_, RegistryRoot::kCurrentUser, "SOFTWARE\\TOV3")
      .SetStringValue("tov3path", "/old/tov3.exe");
  Create(user_, RegistryRoot::kCurrentUser, "SOFTWARE\\TOV30");

  EXPECT_EQ(user_.DeleteKey(RegistryRoot::kCurrentUser, "software\\tov3"),
            RegistryStatus::kHasSubKeys);
  RegistryKey key;
  ASSERT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, "SOFTWARE\\TOV3", key_access::kRead, key),
            RegistryStatus::kOk);
  EXPECT_EQ(Query(key, "tov3path"), "/old/tov3.exe");

  RegistryKey writer = Create(user_, RegistryRoot::kCurrentUser, "SOFTWARE\\TOV3");
  EXPECT_EQ(user_.DeleteKey(RegistryRoot::kCurrentUser, "SOFTWARE\\TOV3\\Sub"),
            RegistryStatus::kOk);
  EXPECT_EQ(user_.DeleteKey(RegistryRoot::kCurrentUser, "SOFTWARE\\TOV3"), RegistryStatus::kOk);
  EXPECT_EQ(Query(key, "tov3path"), "<" + std::to_string(int(RegistryStatus::kNotFound)) + ">");
  EXPECT_EQ(writer.SetStringValue("x", "1"), RegistryStatus::kNotFound);  // not made again
  EXPECT_EQ(user_.DeleteKey(RegistryRoot::kCurrentUser, "SOFTWARE\\TOV3"),
            RegistryStatus::kNotFound);
  EXPECT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, "SOFTWARE\\TOV30", key_access::kRead, key),
            RegistryStatus::kOk);  // a sibling whose name only starts alike stays
  EXPECT_EQ(user_.DeleteKey(RegistryRoot::kCurrentUser, ""), RegistryStatus::kAccessDenied);
}

TEST_F(RegistryStoreTest, QueriesHonourSizeLimitTypeAndRights) {
  RegistryKey key = Create(user_, RegistryRoot::kCurrentUser, "Software\\q");
  key.SetStringValue("129", std::string(129, 'x'));  // 260 bytes with the NUL
  key.SetStringValue("130", std::string(130, 'x'));
  key.SetStringValue("emoji", "😀");                     // two UTF-16 units
  key.SetStringValue("nul", std::string("ab\0cd", 5));  // stored up to the NUL
  RegistryValue value;
  EXPECT_EQ(key.QueryValue("129", 260, value), RegistryStatus::kOk);
  EXPECT_EQ(value.size_in_bytes, 260u);
  EXPECT_EQ(key.QueryValue("130", 260, value), RegistryStatus::kMoreData);
  EXPECT_EQ(value.size_in_bytes, 262u);
  EXPECT_TRUE(value.text.empty());
  EXPECT_EQ(key.QueryValue("emoji", 6, value), RegistryStatus::kOk);
  EXPECT_EQ(key.QueryValue("emoji", 5, value), RegistryStatus::kMoreData);
  EXPECT_EQ(Query(key, "nul"), "ab");
  EXPECT_EQ(key.QueryValue("missing", 260, value), RegistryStatus::kNotFound);
  EXPECT_EQ(key.DeleteValue("130"), RegistryStatus::kOk);
  EXPECT_EQ(key.DeleteValue("130"), RegistryStatus::kNotFound);

  RegistryKey reader;
  ASSERT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, "Software\\q", key_access::kRead, reader),
            RegistryStatus::kOk);
  EXPECT_EQ(reader.SetStringValue("129", "y"), RegistryStatus::kAccessDenied);
  RegistryKey writer;
  ASSERT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, "Software\\q", key_access::kSetValue, writer),
            RegistryStatus::kOk);
  EXPECT_EQ(writer.QueryValue("129", 260, value), RegistryStatus::kAccessDenied);
  writer.Close();
  EXPECT_EQ(writer.SetStringValue("129", "y"), RegistryStatus::kNotFound);
}

TEST_F(RegistryStoreTest, InvalidKeyNamesAreRefused) {
  const std::string invalid[] = {"\\Software", "Software\\\\q",        "Soft\nware",
                                 "a\rb",       std::string("a\0b", 3), std::string(256, 'k')};
  for (const std::string& path : invalid) {
    RegistryKey key;
    EXPECT_EQ(user_.CreateKey(RegistryRoot::kCurrentUser, path, key_access::kAll, key),
              RegistryStatus::kInvalidName)
        << path;
  }
  RegistryKey key;
  EXPECT_EQ(
      user_.CreateKey(RegistryRoot::kCurrentUser, std::string(255, 'k'), key_access::kAll, key),
      RegistryStatus::kOk);
  EXPECT_FALSE(test::ReadFileBytes(UserFile()).value_or("").find('\r') != std::string::npos);
}

TEST_F(RegistryStoreTest, DamagedFileIsKeptAsideAndTheStoreWorksOn) {
  const std::string damaged = "Windows Registry Editor Version 5.00\n\"orphan\"=\"1\"\n\x01\xFF";
  root_.WriteFile("home/.config/qvorvane-registry/HKEY_CURRENT_USER.reg", damaged);
  RegistryKey key;
  EXPECT_EQ(user_.OpenKey(RegistryRoot::kCurrentUser, "Software", key_access::kRead, key),
            RegistryStatus::kNotFound);
  EXPECT_EQ(test::ReadFileBytes(UserFile() + ".damaged-1"), damaged);
  EXPECT_FALSE(test::ReadFileBytes(UserFile()).has_value());

  Create(user_, RegistryRoot::kCurrentUser, "Software").SetStringValue("v", "1");
  root_.WriteFile("home/.config/qvorvane-registry/HKEY_CURRENT_USER.reg", "second damage");
  key = Create(user_, RegistryRoot::kCurrentUser, "Software");  // a write recovers the same way
  EXPECT_EQ(key.SetStringValue("w", "2"), RegistryStatus::kOk);
  EXPECT_EQ(test::ReadFileBytes(UserFile() + ".damaged-1"), damaged);
  EXPECT_EQ(test::ReadFileBytes(UserFile() + ".damaged-2"), "second damage");
  EXPECT_EQ(Query(key, "w"), "2");
  EXPECT_NE(Query(key, "v"), "1");
}

TEST_F(RegistryStoreTest, UnreadableFileFailsAndIsNeverReplaced) {
  root_.WriteFile("home/.config/qvorvane-registry/HKEY_CURRENT_USER.reg/inside", "a folder here");
  RegistryKey key;
  EXPECT_EQ(user_.CreateKey(RegistryRoot::kCurrentUser, "Software", key_access::kAll, key),
            RegistryStatus::kStoreFailed);
  EXPECT_EQ(test::ReadFileBytes(UserFile() + "/inside"), "a folder here");
}

TEST_F(RegistryStoreTest, WritersInSeveralProcessesLoseNoValue) {
  constexpr int kWriters = 4;
  constexpr int kValuesEach = 40;
  std::vector<std::unique_ptr<test::ChildProcess>> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.push_back(std::make_unique<test::ChildProcess>(
        std::vector<std::string>{QV_STORE_WRITER_PATH, "registry", "writer" + std::to_string(w),
                                 std::to_string(kValuesEach)}));
    ASSERT_TRUE(writers.back()->started());
  }
  for (auto& writer : writers) EXPECT_EQ(writer->Wait(), 0);

  RegistryHive hive;
  ASSERT_TRUE(
      ParseRegistryFile(test::ReadFileBytes(UserFile()).value_or(""), "HKEY_CURRENT_USER", hive));
  for (int w = 0; w < kWriters; ++w) {
    const RegistryKeyData* key = hive.FindKey("Software\\Race\\writer" + std::to_string(w));
    ASSERT_NE(key, nullptr) << w;
    ASSERT_EQ(key->values.size(), size_t{kValuesEach}) << w;
    for (int i = 0; i < kValuesEach; ++i) EXPECT_EQ(key->values[i].text, std::to_string(i));
  }
}

TEST_F(RegistryStoreTest, CurrentRegistryCanBeReplacedForATest) {
  EXPECT_TRUE(ProcessIsAdministrator() == (geteuid() == 0));
  {
    const ScopedRegistryOverride normal_user(user_);
    EXPECT_EQ(&CurrentRegistry(), &user_);
  }
  EXPECT_NE(&CurrentRegistry(), &user_);
}

}  // namespace
}  // namespace qv::platform
