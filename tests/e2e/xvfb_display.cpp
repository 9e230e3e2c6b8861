#include "xvfb_display.h"

#include <signal.h>

#include <vector>

#include "run_command.h"

namespace qv::test {

XvfbDisplay::XvfbDisplay() {
  // With -displayfd the server writes the display number it took once it accepts clients.
  server_ = std::make_unique<ChildProcess>(std::vector<std::string>{
      "/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
  if (!server_->started()) return;
  const auto number = server_->ReadLine();
  if (number && !number->empty()) name_ = ":" + *number;
}

XvfbDisplay::~XvfbDisplay() {
  if (server_ && server_->started()) {
    server_->Kill(SIGTERM);
    server_->Wait();
  }
}

bool XvfbDisplay::PressKey(const std::string& key) const {
  if (!started()) return false;
  return RunCommand({"env", "DISPLAY=" + name_, "xdotool", "key", key}).exit_code == 0;
}

bool XvfbDisplay::ClickInWindow(const std::string& title, int x, int y) const {
  if (!started()) return false;
  return RunCommand({"env", "DISPLAY=" + name_, "xdotool", "search", "--onlyvisible", "--name",
                     "^" + title + "$", "mousemove", "--window", "%1", std::to_string(x),
                     std::to_string(y), "click", "1"})
             .exit_code == 0;
}

bool XvfbDisplay::ShowsWindow(const std::string& title) const {
  if (!started()) return false;
  return RunCommand({"env", "DISPLAY=" + name_, "xdotool", "search", "--onlyvisible", "--name",
                     "^" + title + "$"})
             .exit_code == 0;
}

}  // namespace qv::test
