// A test machine for the install steps: a fresh temporary root with its own registry store whose
// administrator rights the test decides (the suite may run as root), installed as the program's
// registry for the test's lifetime.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "temp_root.h"

namespace qv::test {

class RegistryMachineTest : public TempRootTest {
 protected:
  // Rights to the machine-wide root: a normal user unless the test says otherwise. A test that
  // must withdraw them part-way sets `rights_` to a check of its own.
  std::atomic<bool> administrator_{false};
  std::function<bool()> rights_ = [this] { return administrator_.load(); };

  platform::RegistryStore store_{platform::DefaultRegistryLocations, [this] { return rights_(); }};
  platform::ScopedRegistryOverride override_{store_};

  // Sets a string value, creating the key (with administrator rights for the machine root).
  void SetValue(platform::RegistryRoot root, std::string_view key, std::string_view name,
                std::string_view text);
  // The string value, or nullopt when the key or value is missing.
  std::optional<std::string> Value(platform::RegistryRoot root, std::string_view key,
                                   std::string_view name) const;
  bool KeyExists(platform::RegistryRoot root, std::string_view key) const;
  // The root the machine-wide registrations land in: the machine's own when this process may write
  // it (as `rights_` says on Linux; by the process's real rights on Windows, where the system
  // decides), else the user's.
  platform::RegistryRoot RegistrationRoot() const;
  // The root's file as it lands on disk ("" when there is none).
  std::string FileText(platform::RegistryRoot root) const;
};

}  // namespace qv::test
