#include "core/message_loop_context.h"

#include <utility>

#include "platform/clock.h"

namespace qv::core {

MessageLoopContext& MessageLoopContext::Instance() {
  // Never released: a worker abandoned at shut-down may still report through it while the
  // process exits.
  static MessageLoopContext* const instance = MakeRef<MessageLoopContext>().Leak();
  return *instance;
}

int MessageLoopContext::CreateLoop(const std::string& name) {
  if (name.empty()) return 0;
  if (HasLoop(name)) return 1;
  auto loop = MakeRef<MessageLoop>();
  auto adapter = MakeRef<MessageLoopDelegate>(RefPtr<MessageLoopDelegate::Delegate>(this));
  // Registering answers through RegisterLoop, which files the loop under its name.
  if (loop->Register(name, std::move(adapter)) != 0) return 1;
  return HasLoop(name) ? 1 : 0;  // another thread filed the name first
}

bool MessageLoopContext::HasLoop(const std::string& name) const {
  std::lock_guard lock(loops_lock_);
  return loops_.contains(name);
}

int MessageLoopContext::RegisterLoop(const std::string& name, MessageLoop* loop) {
  if (name.empty() || loop == nullptr) return 0;
  std::lock_guard lock(loops_lock_);
  const bool filed =
      loops_.try_emplace(name, MakeRef<ThreadMessageLoop>(name, RefPtr<MessageLoop>(loop))).second;
  return filed ? 1 : 0;
}

int MessageLoopContext::UnregisterLoop(const std::string& name) {
  RefPtr<ThreadMessageLoop> entry;
  {
    std::lock_guard lock(loops_lock_);
    const auto found = loops_.find(name);
    if (found == loops_.end()) return 0;
    entry = std::move(found->second);
    loops_.erase(found);
  }
  return 1;  // `entry` is let go here, outside the lock: that stops its loop
}

int MessageLoopContext::PostTask(const std::string& name, RefPtr<MsgTask>&& task) {
  RefPtr<MessageLoop> loop;
  {
    std::lock_guard lock(loops_lock_);
    const auto found = loops_.find(name);
    if (found == loops_.end()) return 0;
    loop = RefPtr<MessageLoop>(found->second->loop());
  }
  return loop->Schedule(PostMode::kNext, 0, std::move(task));
}

void MessageLoopContext::StopAll() {
  LoopMap loops;
  {
    std::lock_guard lock(loops_lock_);
    loops = std::exchange(loops_, {});
  }
  // Name order; each entry's release stops its loop before the next one is looked at.
  for (auto& [name, entry] : loops) entry.reset();
  loops.clear();
  platform::CurrentClock().SleepMs(kStopAllPauseMs);
  main_loop_.Stop();
}

void MessageLoopContext::OnLoopIdle(const std::string& name, int flag) {
  if (Deletegate* client = client_.load(std::memory_order_acquire)) client->OnLoopIdle(name, flag);
}

void MessageLoopContext::OnTaskDone(RefPtr<MsgTask> task) {
  // With no client the task is released here rather than kept for nobody.
  if (Deletegate* client = client_.load(std::memory_order_acquire)) {
    client->OnTaskDone(std::move(task));
  }
}

}  // namespace qv::core
