// A virtual X display (Xvfb) for a test that has to press a key in the real installer's window:
// the offscreen platform takes no input from outside the process, an X server does. The server
// picks a free display number itself; its lock file and socket are the X server's own, in
// /tmp/.X11-unix, and go with it. `PressKey` sends a key press to the window that has the focus
// (xdotool, through the XTEST extension), as a user's keyboard would.
//
// Ownership and threads: owned by the test on its main thread; the server process ends (SIGTERM)
// when the object goes.
#pragma once

#include <memory>
#include <string>

#include "child_process.h"

namespace qv::test {

class XvfbDisplay {
 public:
  XvfbDisplay();
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  bool started() const { return !name_.empty(); }
  // ":N"
  const std::string& name() const { return name_; }

  // Presses and releases the key (an X key name, "Return") on this display; false when xdotool
  // failed.
  bool PressKey(const std::string& key) const;
  // Clicks the left button at (x, y) inside the visible window titled `title`, as a user's mouse
  // would; false when there is no such window or xdotool failed.
  bool ClickInWindow(const std::string& title, int x, int y) const;
  // True when a window titled `title` is visible (mapped) on this display.
  bool ShowsWindow(const std::string& title) const;

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string name_;
};

}  // namespace qv::test
