#include "registry_machine.h"

#include "system_files.h"

namespace qv::test {

void RegistryMachineTest::SetValue(platform::RegistryRoot root, std::string_view key,
                                   std::string_view name, std::string_view text) {
  // The machine root is prepared as an administrator would, without the rights check under test.
  const platform::RegistryStore setup(platform::DefaultRegistryLocations, [] { return true; });
  platform::RegistryKey handle;
  ASSERT_EQ(setup.CreateKey(root, key, platform::key_access::kAll, handle),
            platform::RegistryStatus::kOk);
  ASSERT_EQ(handle.SetStringValue(name, text), platform::RegistryStatus::kOk);
}

std::optional<std::string> RegistryMachineTest::Value(platform::RegistryRoot root,
                                                      std::string_view key,
                                                      std::string_view name) const {
  platform::RegistryKey handle;
  platform::RegistryValue value;
  if (store_.OpenKey(root, key, platform::key_access::kRead, handle) !=
          platform::RegistryStatus::kOk ||
      handle.QueryValue(name, 1 << 20, value) != platform::RegistryStatus::kOk) {
    return std::nullopt;
  }
  return value.text;
}

platform::RegistryRoot RegistryMachineTest::RegistrationRoot() const {
  const bool machine_wide = OnWindows() ? platform::ProcessIsAdministrator() : rights_();
  return machine_wide ? platform::RegistryRoot::kLocalMachine : platform::RegistryRoot::kCurrentUser;
}

bool RegistryMachineTest::KeyExists(platform::RegistryRoot root, std::string_view key) const {
  platform::RegistryKey handle;
  return store_.OpenKey(root, key, platform::key_access::kRead, handle) ==
         platform::RegistryStatus::kOk;
}

std::string RegistryMachineTest::FileText(platform::RegistryRoot root) const {
  const platform::RegistryLocations files = platform::DefaultRegistryLocations();
  return ReadFileBytes(root == platform::RegistryRoot::kLocalMachine ? files.local_machine_file
                                                                     : files.current_user_file)
      .value_or("");
}

}  // namespace qv::test
