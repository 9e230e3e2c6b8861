// LayeredWindow: a frameless, per-pixel translucent top-level window that renders its whole
// content into a fresh Surface on every paint and handles numbered window messages.
//
// Each paint calls Render on a new, fully transparent Surface of the window's size and copies it
// to the window unchanged (alpha included), through a QImage over the Surface's own memory (the
// byte layout of ARGB32 premultiplied, so nothing is converted). Invalidating any part of the
// window re-renders all of it.
//
// Threads: created, painted and destroyed on the UI thread; only PostWindowMessage reaches it from
// other threads. Owned by its creator (the main window by the program, the progress window by the
// main window as its Qt parent).
#pragma once

#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <cstdint>

#include "ui/core/surface.h"

namespace qv::ui {

class LayeredWindow : public QWidget {
 public:
  // `flags` are added to Qt::FramelessWindowHint; the window has a translucent background.
  explicit LayeredWindow(QWidget* owner = nullptr, Qt::WindowFlags flags = Qt::Window);
  ~LayeredWindow() override;

  // Renders the whole content as the next paint would: a new surface of the window's size.
  Surface RenderSurface();

 protected:
  // Draws the content onto `surface` (transparent, of the window's size).
  virtual void Render(Surface& surface) = 0;
  // A numbered message posted with PostWindowMessage.
  virtual void OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t lparam);
  // A press, release, double click or move, before the QWidget handlers; true when taken
  // (the QWidget handlers then do not see it).
  virtual bool OnMouse(QMouseEvent& event);

  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qv::ui
