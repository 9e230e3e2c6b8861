#include "util/client_identity.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/private_profile.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "temp_root.h"
#include "util/app_folders.h"
#include "util/md5.h"
#include "util/text_conversion.h"
#include "system_files.h"

namespace qv::util {
namespace {

class ClientIdentityTest : public test::TempRootTest {
 protected:
  // A machine with one Ethernet adapter of the given address, in a fake interface folder.
  std::string FakeNet(const std::string& name, const std::string& address) {
    root_.WriteFile(name + "/eth0/type", "1\n");
    root_.WriteFile(name + "/eth0/ifindex", "2\n");
    root_.WriteFile(name + "/eth0/address", address + "\n");
    return root_.Path(name);
  }

  std::u16string IniPath() const { return Utf8ToWide(test::LocalAppDataPath("Qvorvane/config.ini")); }

  void SetUp() override { std::filesystem::create_directories(test::FsPath(test::LocalAppDataPath("Qvorvane"))); }

  std::string RegistryId() {
    platform::RegistryKey key;
    platform::RegistryValue value;
    if (platform::CurrentRegistry().OpenKey(platform::RegistryRoot::kCurrentUser,
                                            kClientIdRegistryKey, platform::key_access::kRead,
                                            key) != platform::RegistryStatus::kOk ||
        key.QueryValue(kClientIdValueName, 1 << 20, value) != platform::RegistryStatus::kOk) {
      return "<none>";
    }
    return value.text;
  }
  void SetRegistryId(const std::string& id) {
    platform::RegistryKey key;
    ASSERT_EQ(platform::CurrentRegistry().CreateKey(platform::RegistryRoot::kCurrentUser,
                                                    kClientIdRegistryKey,
                                                    platform::key_access::kAll, key),
              platform::RegistryStatus::kOk);
    ASSERT_EQ(key.SetStringValue(kClientIdValueName, id), platform::RegistryStatus::kOk);
  }
  std::string IniId() {
    std::string out;
    platform::GetPrivateProfileString("General", "client_id", "<none>", out, 260,
                                      WideToUtf8(IniPath()));
    return out;
  }
  void SetIniId(const std::string& id) {
    ASSERT_TRUE(
        platform::WritePrivateProfileString("General", "client_id", id, WideToUtf8(IniPath())));
  }
};

TEST_F(ClientIdentityTest, GeneratedIdIsTheDigestOfCpuThenMacText) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInAdapters;
  ClientIdentity identity(FakeNet("net", "02:1a:2b:3c:4d:5e"));
  const std::string id = identity.GenerateClientId();
  EXPECT_EQ(id, Md5HexOfText(platform::CpuSignature() + "02:1A:2B:3C:4D:5E"));
  EXPECT_EQ(identity.MacText(), "02:1A:2B:3C:4D:5E");
  ASSERT_EQ(id.size(), 32u);
  EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);

  ClientIdentity without_adapter(root_.Path("no-net"));
  EXPECT_FALSE(without_adapter.MacAddress());
  EXPECT_EQ(without_adapter.GenerateClientId(), Md5HexOfText(platform::CpuSignature()));
}

TEST_F(ClientIdentityTest, ThreadsAskingAtOnceAllGetTheSameId) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInAdapters;
  ClientIdentity identity(FakeNet("net", "02:1a:2b:3c:4d:5e"));
  std::vector<std::string> ids(4);
  std::vector<std::thread> threads;
  for (auto& id : ids) threads.emplace_back([&identity, &id] { id = identity.GenerateClientId(); });
  for (auto& thread : threads) thread.join();
  for (const auto& id : ids)
    EXPECT_EQ(id, Md5HexOfText(platform::CpuSignature() + "02:1A:2B:3C:4D:5E"));
}

TEST_F(ClientIdentityTest, FirstRunStoresTheGeneratedIdInBothPlacesAndLaterRunsKeepIt) {
  ClientIdentity first_machine(FakeNet("net1", "02:00:00:00:00:01"));
  std::u16string id;
  EXPECT_EQ(first_machine.GetClientIdWithConfig(IniPath(), id), 32u);
  EXPECT_EQ(WideToUtf8(id), first_machine.GenerateClientId());
  EXPECT_EQ(RegistryId(), WideToUtf8(id));
  EXPECT_EQ(IniId(), WideToUtf8(id));

  // Another adapter now (a later run would generate another id): the kept one is returned.
  ClientIdentity changed_machine(FakeNet("net2", "02:00:00:00:00:02"));
  std::u16string again;
  changed_machine.GetClientIdWithConfig(IniPath(), again);
  EXPECT_EQ(again, id);
  SetIniId("");  // lost from the ini file only: still not regenerated, and written back
  changed_machine.GetClientIdWithConfig(IniPath(), again);
  EXPECT_EQ(again, id);
  EXPECT_EQ(IniId(), WideToUtf8(id));
}

TEST_F(ClientIdentityTest, StoredIdsDecideTheIdAndWhereItIsWritten) {
  struct Case {
    std::string registry;  // the id kept in the registry before the call
    std::string ini;       // the id kept in the ini file before the call
    std::string expected;  // returned, and afterwards in both places
  };
  const Case cases[] = {
      // The registry's id wins and overwrites the ini file's.
      {"registry0123456789abcdef01234567", "ini0000000000000000000000000000ff",
       "registry0123456789abcdef01234567"},
      // An empty registry value takes the ini file's id unchanged.
      {"", "éini-id with blanks", "éini-id with blanks"},
      // A registry value too large for the read (262 bytes stored, 260 allowed) counts as empty.
      {std::string(130, 'r'), "from-ini", "from-ini"},
  };
  ClientIdentity identity(FakeNet("net", "02:00:00:00:00:01"));
  for (const Case& c : cases) {
    SetRegistryId(c.registry);
    SetIniId(c.ini);
    std::u16string id;
    EXPECT_EQ(identity.GetClientIdWithConfig(IniPath(), id), Utf8ToWide(c.expected).size());
    EXPECT_EQ(WideToUtf8(id), c.expected);
    EXPECT_EQ(RegistryId(), c.expected);
    EXPECT_EQ(IniId(), c.expected);
  }
}

TEST_F(ClientIdentityTest, ProcessIdentityKeepsTheIdInTheLocalDataFoldersConfig) {
  // A stored id: the process identity never looks at the machine's own adapters here.
  SetRegistryId("0123456789abcdef0123456789abcdef");
  std::u16string id;
  EXPECT_EQ(GetClientId(id), 32u);
  EXPECT_EQ(id, u"0123456789abcdef0123456789abcdef");
  EXPECT_EQ(LocalDataFolder() + kConfigIniName, IniPath());
  EXPECT_EQ(IniId(), "0123456789abcdef0123456789abcdef");
}

TEST_F(ClientIdentityTest, WithoutAWritableRegistryTheIniFileKeepsTheId) {
  if (test::OnWindows()) GTEST_SKIP() << test::kStandInRights;
  // The registry's folder cannot be made: a file stands in its way.
  root_.WriteFile("home/.config/qvorvane-registry", "not a folder");
  ClientIdentity identity(FakeNet("net", "02:00:00:00:00:01"));
  std::u16string id;
  EXPECT_EQ(identity.GetClientIdWithConfig(IniPath(), id), 32u);
  EXPECT_EQ(IniId(), WideToUtf8(id));
  EXPECT_EQ(RegistryId(), "<none>");

  ClientIdentity next_run(FakeNet("net2", "02:00:00:00:00:02"));
  std::u16string again;
  next_run.GetClientIdWithConfig(IniPath(), again);
  EXPECT_EQ(again, id);
}

}  // namespace
}  // namespace qv::util
