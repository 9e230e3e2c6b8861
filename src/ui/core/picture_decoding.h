// PictureDecoding: one picture resource decoded on a thread of its own, so that the window that
// shows it first does not decode it on the UI thread. The program starts it for the frame
// picture before the toolkit is started: the decoding then runs beside the toolkit's start on
// the second core.
//
// The thread decodes with the program's own PNG decoder (workflow/shortcuts/png_decoder.h) into
// a Surface and never reaches the backend's picture decoders, which the toolkit's start may be
// setting up at the same time. A resource that decoder refuses is decoded with DecodePicture on
// the taking thread instead, so the outcome never depends on which decoder ran.
//
// Threads: made, taken and destroyed on one thread (the UI thread); the decoding thread is
// joined by Take or the destructor. Without a thread to be had, Take decodes on the caller.
#pragma once

#include <thread>

#include "ui/core/surface.h"

namespace qv::ui {

class PictureDecoding {
 public:
  explicit PictureDecoding(int id);
  ~PictureDecoding();
  PictureDecoding(const PictureDecoding&) = delete;
  PictureDecoding& operator=(const PictureDecoding&) = delete;

  // The picture; waits for the decoding when it has not finished. Once: a second call gives a
  // null picture.
  Surface Take();

 private:
  const int id_;
  bool taken_ = false;
  Surface picture_;  // written by the decoding thread before it ends, read after the join
  std::thread decoding_;
};

}  // namespace qv::ui
