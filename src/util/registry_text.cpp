#include "util/registry_text.h"

#include "util/text_conversion.h"

namespace qv::util {

bool ReadRegistryString(const platform::RegistryKey& key, std::u16string_view name,
                        size_t max_bytes, std::u16string& out) {
  platform::RegistryValue value;
  if (!key.IsOpen() ||
      key.QueryValue(WideToUtf8(name), max_bytes, value) != platform::RegistryStatus::kOk ||
      value.type != platform::RegistryValueType::kString) {
    return false;
  }
  out = Utf8ToWide(value.text);
  return true;
}

bool ReadRegistryText(platform::RegistryKey& key, std::u16string_view name, std::u16string& out) {
  if (!key.IsOpen() || name.empty()) return false;
  const bool read = ReadRegistryString(key, name, kRegistryTextMaxBytes, out);
  key.Close();
  return read;
}

}  // namespace qv::util
