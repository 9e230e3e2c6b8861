#include "ui/qt/display_check.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <xcb/xcb.h>

#include <string_view>
#include <vector>

namespace qv::ui {
namespace {

std::string Environment(const char* name) {
  const char* value = getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Why the X11 display cannot be used; empty when it accepted `connection`, which stays open.
std::string X11Problem(xcb_connection_t*& connection) {
  const std::string display = Environment("DISPLAY");
  if (display.empty()) return "no display: DISPLAY is not set";
  connection = xcb_connect(display.c_str(), nullptr);
  if (xcb_connection_has_error(connection) == 0) return {};
  xcb_disconnect(connection);
  connection = nullptr;
  return "cannot open display " + display;
}

// Why the Wayland display cannot be used; empty when its socket exists.
std::string WaylandProblem() {
  std::string socket = Environment("WAYLAND_DISPLAY");
  if (socket.empty()) return "no display: WAYLAND_DISPLAY is not set";
  if (socket.front() != '/') {
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    if (runtime.empty()) return "no display: XDG_RUNTIME_DIR is not set";
    socket = runtime + "/" + socket;
  }
  struct stat info {};
  if (stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
    return "cannot open Wayland display " + socket;
  }
  return {};
}

// The platform names of QT_QPA_PLATFORM without their options ("xcb:option" is "xcb").
std::vector<std::string> PlatformCandidates(std::string_view setting) {
  std::vector<std::string> names;
  while (!setting.empty()) {
    const size_t end = setting.find(';');
    std::string_view entry = setting.substr(0, end);
    entry = entry.substr(0, entry.find(':'));
    if (!entry.empty()) names.emplace_back(entry);
    if (end == std::string_view::npos) break;
    setting.remove_prefix(end + 1);
  }
  return names;
}

}  // namespace

struct DisplayCheck::X11Connection {
  explicit X11Connection(xcb_connection_t* open) : connection(open) {}
  ~X11Connection() { xcb_disconnect(connection); }
  xcb_connection_t* connection;
};

DisplayCheck::DisplayCheck() {
  std::vector<std::string> candidates = PlatformCandidates(Environment("QT_QPA_PLATFORM"));
  if (candidates.empty()) candidates.push_back("xcb");
  for (const std::string& name : candidates) {
    std::string problem;
    if (name == "xcb") {
      xcb_connection_t* connection = nullptr;
      problem = X11Problem(connection);
      if (connection != nullptr) connection_ = std::make_unique<X11Connection>(connection);
    } else if (name.rfind("wayland", 0) == 0) {
      problem = WaylandProblem();
    }
    if (problem.empty()) {
      missing_.clear();
      return;
    }
    if (missing_.empty()) missing_ = problem;
  }
}

DisplayCheck::~DisplayCheck() = default;

void DisplayCheck::Close() { connection_.reset(); }

}  // namespace qv::ui
