#include "core/thread_message_loop.h"

namespace qv::core {

ThreadMessageLoop::~ThreadMessageLoop() {
  if (!loop_) return;
  if (loop_->enabled()) loop_->Stop();
  loop_->set_enabled(0);
}

}  // namespace qv::core
