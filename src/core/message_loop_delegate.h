// MessageLoopDelegate: the adapter between one loop and the loop registry.
//
// Threads: OnLoopCreated arrives on the thread that creates the loop (the UI thread); OnLoopIdle
// and OnTaskDone on the loop's worker thread. Each is forwarded to the registry.
//
// Ownership: the loop holds the adapter's reference. The adapter holds a reference to the
// registry, so that an event still on its way from a worker the registry stopped (and had to
// abandon) never reaches a registry that is gone.
#pragma once

#include <string>

#include "core/message_loop.h"
#include "core/ref_base.h"

namespace qv::core {

class MessageLoopDelegate : public MessageLoop::Delegate {
 public:
  // What the registry implements.
  class Delegate : public RefBase {
   public:
    virtual int RegisterLoop(const std::string& /*name*/, MessageLoop* /*loop*/) { return 0; }
    virtual int UnregisterLoop(const std::string& /*name*/) { return 0; }
    virtual void OnLoopIdle(const std::string& /*name*/, int /*flag*/) {}
    virtual void OnTaskDone(RefPtr<MsgTask> /*task*/) {}

   protected:
    ~Delegate() override = default;
  };

  // A null registry makes every event do nothing (and answer 0).
  explicit MessageLoopDelegate(RefPtr<Delegate> registry) : registry_(std::move(registry)) {}

  void OnLoopIdle(const std::string& name, int flag) override;
  int OnLoopCreated(const std::string& name, MessageLoop* loop) override;
  int OnLoopDestroyed(const std::string& name) override;
  void OnTaskDone(RefPtr<MsgTask> task) override;

 protected:
  ~MessageLoopDelegate() override = default;

 private:
  const RefPtr<Delegate> registry_;
};

}  // namespace qv::core
