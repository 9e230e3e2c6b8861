// The in-memory model of one registry root (a "hive"): keys in the order they were made, each
// with its values in the order they were first written. Key and value names match without
// regard to case and keep the spelling they were created with. Plain data; one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

// The value types the store keeps, numbered as the original platform numbers them.
enum class RegistryValueType : uint32_t {
  kString = 1,  // REG_SZ
  kDword = 4,   // REG_DWORD
};

struct RegistryValueData {
  std::string name;  // "" is the key's default value
  RegistryValueType type = RegistryValueType::kString;
  std::string text;     // kString: UTF-8
  uint32_t number = 0;  // kDword
};

struct RegistryKeyData {
  std::string path;  // below the root, components joined by '\'; "" is the root key itself
  std::vector<RegistryValueData> values;

  RegistryValueData* FindValue(std::string_view name);
  const RegistryValueData* FindValue(std::string_view name) const;
  // Adds the value at the end, or replaces the data of the one that matches (keeping its place
  // and spelling). Returns whether anything changed.
  bool SetValue(const RegistryValueData& value);
  // Returns whether a value was removed.
  bool DeleteValue(std::string_view name);
};

class RegistryHive {
 public:
  RegistryKeyData* FindKey(std::string_view path);
  const RegistryKeyData* FindKey(std::string_view path) const;
  // The key, created (after any missing ancestors) at the end of the key list when missing.
  RegistryKeyData& EnsureKey(std::string_view path);
  bool HasSubKeys(std::string_view path) const;
  // Removes the key alone (callers refuse keys with sub-keys first). Returns whether it existed.
  bool RemoveKey(std::string_view path);

  const std::vector<RegistryKeyData>& keys() const { return keys_; }

 private:
  std::vector<RegistryKeyData> keys_;
};

}  // namespace qv::platform
