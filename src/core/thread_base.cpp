#include "core/thread_base.h"

#include <condition_variable>
#include <mutex>
#include <system_error>

namespace qv::core {
namespace {

// Counts threads from their start until their body has returned and dropped what it shared.
class LiveThreadCount {
 public:
  void Add() {
    std::lock_guard lock(mutex_);
    ++count_;
  }
  void Remove() {
    {
      std::lock_guard lock(mutex_);
      --count_;
    }
    changed_.notify_all();
  }
  int Get() {
    std::lock_guard lock(mutex_);
    return count_;
  }
  void WaitForZero() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return count_ == 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

LiveThreadCount& Census() {
  // Never destroyed: abandoned threads may still report in while the process exits.
  static auto* census = new LiveThreadCount;
  return *census;
}

}  // namespace

ThreadBase::~ThreadBase() {
  if (!thread_.joinable()) return;
  if (handshake_->ended.IsSet()) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

bool ThreadBase::IsRunning() const {
  return thread_.joinable() && !handshake_->ended.IsSet();
}

bool ThreadBase::Start(Body body) {
  if (IsRunning()) return true;
  if (thread_.joinable()) thread_.join();  // an earlier thread that has ended
  auto handshake = std::make_shared<Handshake>();
  Census().Add();
  try {
    thread_ = std::thread([handshake, body = std::move(body)]() mutable {
      {
        // Moved into this scope so that everything the body shares is released before the
        // thread reports itself gone.
        auto own_handshake = std::move(handshake);
        auto own_body = std::move(body);
        own_handshake->started.Set();
        own_body(own_handshake->stop);
        own_handshake->ended.Set();
      }
      Census().Remove();
    });
  } catch (const std::system_error&) {
    Census().Remove();
    return false;
  }
  handshake_ = std::move(handshake);
  thread_id_ = thread_.get_id();
  // The new thread signals as its very first act; only a machine out of resources is slower.
  return handshake_->started.WaitForMs(kStartTimeoutMs);
}

void ThreadBase::RequestStop() {
  if (handshake_) handshake_->stop.Raise();
}

ThreadBase::StopOutcome ThreadBase::AwaitEnd() {
  if (!thread_.joinable()) return StopOutcome::kNoThread;
  thread_id_ = {};
  for (int waits_left = kStopWaits;; --waits_left) {
    if (handshake_->ended.IsSet()) {
      thread_.join();
      return StopOutcome::kEnded;
    }
    if (waits_left == 0) break;
    platform::CurrentClock().WaitForEvent(kStopWaitStepMs, handshake_->ended);
  }
  thread_.detach();
  return StopOutcome::kAbandoned;
}

ThreadBase::StopOutcome ThreadBase::Stop() {
  RequestStop();
  return AwaitEnd();
}

int ThreadBase::LiveThreads() { return Census().Get(); }

void ThreadBase::WaitUntilNoLiveThreads() { Census().WaitForZero(); }

}  // namespace qv::core
