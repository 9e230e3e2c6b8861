// Which pixels of a layered window take the mouse: those of its surface whose alpha is above 0
// (the pictures), never the transparent ones (text and empty areas), which pass the mouse to the
// window beneath.
//
// OpaqueRegion is pure; SetInputShape is called on the UI thread.
#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

namespace qv::ui {

// The pixels of `surface` (ARGB32 premultiplied) with alpha above 0.
QRegion OpaqueRegion(const QImage& surface);

// Makes `region` the input shape of `window`'s native window where the window system has one
// (X11); elsewhere it does nothing and the window filters the mouse itself.
void SetInputShape(QWidget& window, const QRegion& region);

}  // namespace qv::ui
