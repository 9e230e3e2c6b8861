// Whether this session can show a window at all, found out before the toolkit starts (the
// toolkit ends the process when it finds no display, and the program must end normally then).
//
// Threads: made and destroyed on the UI thread; reads the environment.
#pragma once

#include <memory>
#include <string>

namespace qv::ui {

class DisplayCheck {
 public:
  // Looks at the window system the toolkit will use: QT_QPA_PLATFORM when set (a list separated
  // by ';' is tried in order), else X11. An X11 display must accept a connection; a Wayland one
  // needs its socket; any other platform (offscreen, vnc, ...) is taken as able to make windows.
  DisplayCheck();
  ~DisplayCheck();
  DisplayCheck(const DisplayCheck&) = delete;
  DisplayCheck& operator=(const DisplayCheck&) = delete;

  // Empty when a window can be made; otherwise one line naming the missing display, for example
  // "no display: DISPLAY is not set" or "cannot open display :7".
  const std::string& missing() const { return missing_; }

  // Closes the X11 connection the check made. Call it once the toolkit has its own: an X server
  // without other clients (Xvfb) resets when its last client leaves, and a connection attempted
  // during the reset fails.
  void Close();

 private:
  struct X11Connection;
  std::string missing_;
  std::unique_ptr<X11Connection> connection_;
};

}  // namespace qv::ui
