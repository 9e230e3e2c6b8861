// MessageLoopContext: the process-wide registry of named worker loops, and the owner of the
// main-thread loop. Code elsewhere never holds a loop: it creates one by name, posts by name,
// and at shut-down StopAll stops them all.
//
// Threads: CreateLoop, PostTask and StopAll are called on the UI thread in the program (they
// are safe from any thread). The loops' events arrive on their worker threads and are passed to
// the client (Deletegate) there, so the client must be ready for that.
//
// Ownership: the registry holds each loop's entry. Each loop's adapter holds a reference to the
// registry, which therefore lives until StopAll has let every loop go and every worker has ended.
// The client is not owned and must outlive the loops' workers (in the program both live until
// process exit).
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "core/main_message_loop.h"
#include "core/message_loop_delegate.h"
#include "core/msg_task.h"
#include "core/thread_message_loop.h"

namespace qv::core {

class MessageLoopContext : public MessageLoopDelegate::Delegate {
 public:
  // StopAll's pause between stopping the named loops and the main-thread loop.
  static constexpr int64_t kStopAllPauseMs = 5;

  // The registry's client (the installer controller). Both events come on worker threads.
  class Deletegate {
   public:
    virtual ~Deletegate() = default;
    // `name` is the loop's name (its size is the name's length); `flag` is 1.
    virtual void OnLoopIdle(std::string_view /*name*/, int /*flag*/) {}
    // Receives the finished task's reference; letting it go releases the task.
    virtual void OnTaskDone(RefPtr<MsgTask> /*task*/) {}
  };

  // The one registry of the program, created on first use and kept until process exit.
  static MessageLoopContext& Instance();

  // Tests make registries of their own with MakeRef.
  MessageLoopContext() = default;

  void set_client(Deletegate* client) { client_.store(client, std::memory_order_release); }

  // 1 when a loop of that name exists afterwards (made now or before), 0 for an empty name.
  // The loop's thread starts with its first post.
  int CreateLoop(const std::string& name);
  bool HasLoop(const std::string& name) const;

  // Posts `task` to the named loop to run before everything already waiting there, and returns
  // its id. On success the reference is taken out of `task`. Returns 0 and leaves `task` with
  // the caller when no loop has that name (none ever did, or StopAll ran) or the loop refused.
  int PostTask(const std::string& name, RefPtr<MsgTask>&& task);

  // Stops and lets go every named loop in name order (each waited for at most 15 x 100 ms),
  // pauses kStopAllPauseMs, then stops the main-thread loop. Posts by name fail afterwards.
  void StopAll();

  MainMessageLoop& main_loop() { return main_loop_; }

  // MessageLoopDelegate::Delegate: what the loops' adapters forward.
  int RegisterLoop(const std::string& name, MessageLoop* loop) override;
  int UnregisterLoop(const std::string& name) override;
  void OnLoopIdle(const std::string& name, int flag) override;
  void OnTaskDone(RefPtr<MsgTask> task) override;

 protected:
  ~MessageLoopContext() override = default;

 private:
  using LoopMap = std::map<std::string, RefPtr<ThreadMessageLoop>>;  // byte-wise name order

  mutable std::mutex loops_lock_;
  LoopMap loops_;  // guarded by loops_lock_
  std::atomic<Deletegate*> client_{nullptr};
  MainMessageLoop main_loop_;
};

}  // namespace qv::core
