// The registry every part of the program uses, and the tests' override of it (registry.h).
#include <atomic>

#include "platform/registry.h"

namespace qv::platform {
namespace {

std::atomic<const RegistryStore*> g_registry_override{nullptr};

}  // namespace

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
