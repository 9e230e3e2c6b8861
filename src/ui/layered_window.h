// LayeredWindow: a frameless, per-pixel translucent top-level window that renders its whole
// content into a fresh surface on every paint and handles numbered window messages.
//
// Each paint calls Draw on a new, fully transparent QImage (ARGB32 premultiplied) of the window's
// size and copies that surface to the window unchanged (alpha included), so invalidating any part
// of the window re-renders all of it. Pictures are drawn source-over; text is drawn with
// DrawLayeredText, which leaves the alpha of the pixels it touches at 0, so on screen it adds its
// colour to whatever lies beneath the window.
//
// Threads: created, painted and destroyed on the UI thread; only PostWindowMessage reaches it from
// other threads. Owned by its creator (the main window by the program, the progress window by the
// main window as its Qt parent).
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

namespace qv::ui {

class LayeredWindow : public QWidget {
 public:
  // `flags` are added to Qt::FramelessWindowHint; the window has a translucent background.
  explicit LayeredWindow(QWidget* owner = nullptr, Qt::WindowFlags flags = Qt::Window);
  ~LayeredWindow() override;

  // Renders the whole content as the next paint would: a new surface of the window's size.
  QImage RenderSurface();

 protected:
  // Draws the content onto `surface` (transparent, of the window's size).
  virtual void Draw(QImage& surface) = 0;
  // A numbered message posted with PostWindowMessage.
  virtual void OnWindowMessage(uint32_t number, uintptr_t wparam, intptr_t lparam);

  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qv::ui
