#include "util/client_identity.h"

#include <optional>

#include "platform/private_profile.h"
#include "platform/registry.h"
#include "util/app_folders.h"
#include "util/md5.h"
#include "util/registry_text.h"
#include "util/text_conversion.h"

namespace qv::util {

ClientIdentity::ClientIdentity(std::string net_class_folder)
    : net_class_folder_(std::move(net_class_folder)) {}

std::string ClientIdentity::CpuSignature() const { return platform::CpuSignature(); }

bool ClientIdentity::MacAddress() {
  const std::optional<platform::MacAddress> address =
      platform::FirstEthernetAddress(net_class_folder_);
  if (!address) return false;
  const std::lock_guard<std::mutex> lock(mutex_);
  mac_text_ = platform::FormatMacAddress(*address);
  return true;
}

std::string ClientIdentity::MacText() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return mac_text_;
}

std::string ClientIdentity::GenerateClientId() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!generated_id_.empty()) return generated_id_;
  }
  if (MacText().empty()) MacAddress();
  const std::string id = Md5HexOfText(CpuSignature() + MacText());
  const std::lock_guard<std::mutex> lock(mutex_);
  if (generated_id_.empty()) generated_id_ = id;  // two threads at once made the same text
  return generated_id_;
}

size_t ClientIdentity::GetClientIdWithConfig(const std::u16string& config_ini_path,
                                             std::u16string& out) {
  const std::string ini_path = WideToUtf8(config_ini_path);
  platform::RegistryKey key;
  platform::CurrentRegistry().CreateKey(platform::RegistryRoot::kCurrentUser, kClientIdRegistryKey,
                                        platform::key_access::kAll, key);
  std::u16string id;
  ReadRegistryString(key, Utf8ToWide(kClientIdValueName), kClientIdRegistryMaxBytes, id);
  bool write_registry = false;
  if (id.empty()) {
    write_registry = true;
    std::string from_ini;
    platform::GetPrivateProfileString(kClientIdIniSection, kClientIdIniKey, "", from_ini,
                                      kClientIdBufferUnits, ini_path);
    id = Utf8ToWide(from_ini);
  }
  if (id.empty()) id = AnsiToWide(GenerateClientId());
  platform::WritePrivateProfileString(kClientIdIniSection, kClientIdIniKey, WideToUtf8(id),
                                      ini_path);
  if (write_registry && !id.empty() && key.IsOpen()) {
    key.SetStringValue(kClientIdValueName, WideToUtf8(id));
  }
  key.Close();
  out = id;
  return id.size();
}

ClientIdentity& ProcessClientIdentity() {
  static ClientIdentity* const identity = new ClientIdentity();
  return *identity;
}

std::string CpuSignature() { return ProcessClientIdentity().CpuSignature(); }

bool MacAddress() { return ProcessClientIdentity().MacAddress(); }

std::string GenerateClientId() { return ProcessClientIdentity().GenerateClientId(); }

size_t GetClientIdWithConfig(const std::u16string& config_ini_path, std::u16string& out) {
  return ProcessClientIdentity().GetClientIdWithConfig(config_ini_path, out);
}

size_t GetClientId(std::u16string& out) {
  return GetClientIdWithConfig(LocalDataFolder() + kConfigIniName, out);
}

}  // namespace qv::util
