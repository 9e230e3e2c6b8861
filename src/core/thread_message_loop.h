// ThreadMessageLoop: the registry's entry for one named loop.
//
// Created and released by the registry on the UI thread. It holds the loop's reference; its
// destruction stops the loop (when enabled), disables it and lets it go.
#pragma once

#include <string>

#include "core/message_loop.h"
#include "core/ref_base.h"

namespace qv::core {

class ThreadMessageLoop : public RefBase {
 public:
  ThreadMessageLoop(std::string name, RefPtr<MessageLoop> loop)
      : name_(std::move(name)), loop_(std::move(loop)) {}

  const std::string& name() const { return name_; }
  MessageLoop* loop() const { return loop_.get(); }

 protected:
  ~ThreadMessageLoop() override;

 private:
  // The whole name: no length limit, always terminated.
  const std::string name_;
  const RefPtr<MessageLoop> loop_;
};

}  // namespace qv::core
