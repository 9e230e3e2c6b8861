// PictureDecoding: one picture resource decoded on a thread of its own, so that the window that
// shows it first does not decode it on the UI thread. The program starts it for the frame
// picture before the application object is made: the decoding then runs beside the
// application's making (the toolkit's start) on the second core.
//
// The thread decodes with the program's own PNG decoder (workflow/png_decoder.h) and converts
// with QImage alone: it never reaches Qt's image-format machinery, which the application's
// making sets up at the same time. The picture is the one LoadImageFromResource gives
// (ARGB32 premultiplied); a resource that decoder refuses is decoded by Qt on the taking thread
// instead, so the outcome never depends on which decoder ran.
//
// Threads: made, taken and destroyed on one thread (the UI thread); the decoding thread is
// joined by Take or the destructor. Without a thread to be had, Take decodes on the caller.
#pragma once

#include <QImage>
#include <thread>

namespace qv::ui {

class PictureDecoding {
 public:
  explicit PictureDecoding(int id);
  ~PictureDecoding();
  PictureDecoding(const PictureDecoding&) = delete;
  PictureDecoding& operator=(const PictureDecoding&) = delete;

  // The picture; waits for the decoding when it has not finished. Once: a second call gives a
  // null picture.
  QImage Take();

 private:
  const int id_;
  bool taken_ = false;
  QImage image_;  // written by the decoding thread before it ends, read after the join
  std::thread decoding_;
};

}  // namespace qv::ui
