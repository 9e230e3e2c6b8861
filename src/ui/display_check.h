// Whether this session can show a window at all, found out before the toolkit starts (the
// toolkit ends the process when it finds no display, and the program must end normally then).
//
// Threads: any; reads the environment and opens (and closes) one display connection.
#pragma once

#include <string>

namespace qv::ui {

// Empty when a window can be made; otherwise one line naming the missing display, for example
// "no display: DISPLAY is not set" or "cannot open display :7". The window system is the one the
// toolkit will use: QT_QPA_PLATFORM when set (a list separated by ';' is tried in order), else
// X11. An X11 display must accept a connection; a Wayland one needs its socket; any other
// platform (offscreen, vnc, ...) is taken as able to make windows.
std::string MissingDisplayReason();

}  // namespace qv::ui
