// The registry store's file of one root, as it may be found on disk (edited by hand, cut short,
// damaged).
//
// Beyond "no crash": whatever parses is written back so that it parses again into the same
// keys and values, in the same order, and writing that gives the same text (the store's
// read-modify-write never changes what it does not touch, however many times it runs).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/registry_file_format.h"
#include "platform/registry_hive.h"

namespace {

using qv::platform::RegistryHive;
using qv::platform::RegistryKeyData;
using qv::platform::RegistryValueData;

constexpr std::string_view kRoot = "HKEY_CURRENT_USER";

bool SameValue(const RegistryValueData& a, const RegistryValueData& b) {
  return a.name == b.name && a.type == b.type && a.text == b.text && a.number == b.number;
}

bool SameKey(const RegistryKeyData& a, const RegistryKeyData& b) {
  if (a.path != b.path || a.values.size() != b.values.size()) return false;
  for (size_t i = 0; i < a.values.size(); ++i) {
    if (!SameValue(a.values[i], b.values[i])) return false;
  }
  return true;
}

// The same keys and values; the root key without values is the same as no root key (the file
// has no section for it).
bool SameHive(const RegistryHive& a, const RegistryHive& b) {
  auto next = [](const RegistryHive& hive, size_t at) {
    while (at < hive.keys().size() && hive.keys()[at].path.empty() &&
           hive.keys()[at].values.empty()) {
      ++at;
    }
    return at;
  };
  size_t i = next(a, 0);
  size_t j = next(b, 0);
  for (; i < a.keys().size() && j < b.keys().size(); i = next(a, i + 1), j = next(b, j + 1)) {
    if (!SameKey(a.keys()[i], b.keys()[j])) return false;
  }
  return i == a.keys().size() && j == b.keys().size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  RegistryHive hive;
  if (!qv::platform::ParseRegistryFile(text, kRoot, hive)) return 0;

  const std::string written = qv::platform::SerializeRegistryFile(hive, kRoot);
  RegistryHive reread;
  QV_FUZZ_CHECK(qv::platform::ParseRegistryFile(written, kRoot, reread));
  QV_FUZZ_CHECK(SameHive(hive, reread));
  QV_FUZZ_CHECK(qv::platform::SerializeRegistryFile(reread, kRoot) == written);
  return 0;
}
