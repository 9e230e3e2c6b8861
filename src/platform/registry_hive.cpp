#include "platform/registry_hive.h"

#include <algorithm>

#include "platform/utf8_text.h"

namespace qv::platform {
namespace {

constexpr char kKeySeparator = '\\';

template <typename Values>
auto FindValueIn(Values& values, std::string_view name) -> decltype(&values.front()) {
  const std::string wanted = CaseFoldKey(name);
  for (auto& value : values) {
    if (CaseFoldKey(value.name) == wanted) return &value;
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
  const std::string wanted = CaseFoldKey(path);
  for (auto& key : keys_) {
    if (CaseFoldKey(key.path) == wanted) return &key;
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
  const std::string prefix = path.empty() ? std::string() : CaseFoldKey(path) + kKeySeparator;
  return std::any_of(keys_.begin(), keys_.end(), [&](const RegistryKeyData& key) {
    if (key.path.empty()) return false;
    const std::string folded = CaseFoldKey(key.path);
    return folded.size() > prefix.size() && folded.compare(0, prefix.size(), prefix) == 0;
  });
}

bool RegistryHive::RemoveKey(std::string_view path) {
  const RegistryKeyData* found = FindKey(path);
  if (!found) return false;
  keys_.erase(keys_.begin() + (found - keys_.data()));
  return true;
}

}  // namespace qv::platform
