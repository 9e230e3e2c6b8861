// What both sides of the registry share (registry.h): the calls that open keys, the registry
// every part of the program uses, and the tests' override of it.
#include <atomic>

#include "platform/registry.h"

namespace qv::platform {
namespace {

std::atomic<const RegistryStore*> g_registry_override{nullptr};

}  // namespace

RegistryStatus RegistryStore::CreateKey(RegistryRoot root, std::string_view path, uint32_t access,
                                        RegistryKey& out) const {
  return Open(root, path, access, /*create=*/true, out);
}

RegistryStatus RegistryStore::OpenKey(RegistryRoot root, std::string_view path, uint32_t access,
                                      RegistryKey& out) const {
  return Open(root, path, access, /*create=*/false, out);
}

const RegistryStore& CurrentRegistry() {
  // Never destroyed: worker threads may use the registry until the process ends.
  static const RegistryStore* const production = new RegistryStore();
  const RegistryStore* installed = g_registry_override.load(std::memory_order_acquire);
  return installed ? *installed : *production;
}

ScopedRegistryOverride::ScopedRegistryOverride(const RegistryStore& store)
    : previous_(g_registry_override.exchange(&store, std::memory_order_acq_rel)) {}

ScopedRegistryOverride::~ScopedRegistryOverride() {
  g_registry_override.store(previous_, std::memory_order_release);
}

}  // namespace qv::platform
