// The part of a window that takes the mouse, given to the X11 window system as the window's input
// shape: input elsewhere goes to the window beneath.
//
// UI thread.
#pragma once

#include <QWidget>

#include "ui/core/geometry.h"

namespace qv::ui {

// Makes `region` (client coordinates) the input shape of `window`'s native window where the
// window system has one (X11); elsewhere it does nothing and the window filters the mouse itself.
void SetInputShape(QWidget& window, const Region& region);

}  // namespace qv::ui
