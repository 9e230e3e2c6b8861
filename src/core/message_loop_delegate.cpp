#include "core/message_loop_delegate.h"

namespace qv::core {

void MessageLoopDelegate::OnLoopIdle(const std::string& name, int flag) {
  if (registry_) registry_->OnLoopIdle(name, flag);
}

int MessageLoopDelegate::OnLoopCreated(const std::string& name, MessageLoop* loop) {
  return registry_ ? registry_->RegisterLoop(name, loop) : 0;
}

int MessageLoopDelegate::OnLoopDestroyed(const std::string& name) {
  return registry_ ? registry_->UnregisterLoop(name) : 0;
}

void MessageLoopDelegate::OnTaskDone(RefPtr<MsgTask> task) {
  if (registry_) registry_->OnTaskDone(std::move(task));
}

}  // namespace qv::core
