#include "platform/registry_hive.h"

#include <algorithm>

#include "platform/path_resolution.h"

namespace qv::platform {
namespace {

constexpr char kKeySeparator = '\\';

template <typename Values>
auto FindValueIn(Values& values, std::string_view name) -> decltype(&values.front()) {
  for (auto& value : values) {
    if (NamesMatchIgnoringCase(value.name, name)) return &value;
  }
  return nullptr;
}

}  // namespace

RegistryValueData* RegistryKeyData::FindValue(std::string_view name) {
  return FindValueIn(values, name);
}

const RegistryValueData* RegistryKeyData::FindValue(std::string_view name) const {
  return FindValueIn(values, name);
}

bool RegistryKeyData::SetValue(const RegistryValueData& value) {
  RegistryValueData* existing = FindValue(value.name);
  if (!existing) {
    values.push_back(value);
    return true;
  }
  if (existing->type == value.type && existing->text == value.text &&
      existing->number == value.number) {
    return false;
  }
  existing->type = value.type;
  existing->text = value.text;
  existing->number = value.number;
  return true;
}

bool RegistryKeyData::DeleteValue(std::string_view name) {
  const RegistryValueData* found = FindValue(name);
  if (!found) return false;
  values.erase(values.begin() + (found - values.data()));
  return true;
}

RegistryKeyData* RegistryHive::FindKey(std::string_view path) {
  for (auto& key : keys_) {
    if (NamesMatchIgnoringCase(key.path, path)) return &key;
  }
  return nullptr;
}

const RegistryKeyData* RegistryHive::FindKey(std::string_view path) const {
  return const_cast<RegistryHive*>(this)->FindKey(path);
}

RegistryKeyData& RegistryHive::EnsureKey(std::string_view path) {
  if (RegistryKeyData* found = FindKey(path)) return *found;
  if (path.empty()) {
    keys_.insert(keys_.begin(), RegistryKeyData{});
    return keys_.front();
  }
  const size_t last = path.rfind(kKeySeparator);
  if (last != std::string_view::npos) EnsureKey(path.substr(0, last));
  keys_.push_back(RegistryKeyData{std::string(path), {}});
  return keys_.back();
}

bool RegistryHive::HasSubKeys(std::string_view path) const {
  // Every key's ancestors are keys of their own, so a direct child tells.
  return std::any_of(keys_.begin(), keys_.end(), [&](const RegistryKeyData& key) {
    if (key.path.empty()) return false;
    const size_t last = key.path.rfind(kKeySeparator);
    const std::string_view parent = last == std::string::npos
                                        ? std::string_view()
                                        : std::string_view(key.path).substr(0, last);
    return NamesMatchIgnoringCase(parent, path);
  });
}

bool RegistryHive::RemoveKey(std::string_view path) {
  const RegistryKeyData* found = FindKey(path);
  if (!found) return false;
  keys_.erase(keys_.begin() + (found - keys_.data()));
  return true;
}

}  // namespace qv::platform
