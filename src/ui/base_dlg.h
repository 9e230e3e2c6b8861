// BaseDlg: the main window's base: a layered window whose whole look is the frame picture
// (resource 131), stretched over the window.
//
// Init loads the picture (once) and sizes the window to it. The main window derives from it and
// handles its own numbered messages through OnWindowMessage.
//
// Threads: UI thread only. Ownership as for any top-level QWidget: the program owns it.
#pragma once

#include <QImage>

#include "ui/layered_window.h"

namespace qv::ui {

class BaseDlg : public LayeredWindow {
 public:
  // Size of the surface until the frame picture is loaded.
  static constexpr int kInitialWidth = 490;
  static constexpr int kInitialHeight = 160;

  explicit BaseDlg(QWidget* owner = nullptr, Qt::WindowFlags flags = Qt::Window);
  ~BaseDlg() override;

  // Loads the frame picture if not loaded yet and resizes the window to its size without moving
  // it. True only when the picture is loaded and has a positive width and height.
  bool Init();

  // The frame picture decoded elsewhere (PictureDecoding), for Init to use instead of decoding
  // it; nothing when a picture is loaded already or `picture` is null.
  void UseFramePicture(QImage picture);

  int surface_width() const { return surface_width_; }
  int surface_height() const { return surface_height_; }
  bool has_background() const { return !background_.isNull(); }

 protected:
  // The frame picture stretched over the whole surface (nothing without it).
  void Draw(QImage& surface) override;

 private:
  QImage background_;
  int surface_width_ = kInitialWidth;
  int surface_height_ = kInitialHeight;
};

}  // namespace qv::ui
