#include "core/ref_base.h"

namespace qv::core {

int RefBase::AddRef() const { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }

int RefBase::Release() const {
  // acq_rel: the thread that deletes must see every write other holders made before releasing.
  const int remaining = count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (remaining == 0) delete this;
  return remaining;
}

}  // namespace qv::core
