// UiDispatcher: the one way this layer reaches the UI thread.
//
// Contract for implementations: Post may be called from any thread, returns without waiting,
// and runs `work` later on the UI thread, inside that thread's event loop, in the order of the
// posts, never inside Post itself. Once the event loop has ended, work not yet run is destroyed
// without running (it owns nothing that needs running). The program's implementation posts to
// the Qt event loop; the tests run a small event loop of their own on a test thread.
#pragma once

#include <functional>

namespace qv::core {

class UiDispatcher {
 public:
  virtual ~UiDispatcher() = default;
  virtual void Post(std::function<void()> work) = 0;
};

}  // namespace qv::core
