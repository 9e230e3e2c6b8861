// libpng's simplified-API image record, for the PNG decoder and encoder. Its error handling
// (setjmp) stays inside the library, so no long jump ever crosses our frames; the record is
// freed on every path. One per call; no shared state.
#pragma once

#include <png.h>

#include <cstring>

namespace qv::workflow {

class PngImage {
 public:
  PngImage() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image_); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;

  png_image& image() { return image_; }

 private:
  png_image image_;
};

}  // namespace qv::workflow
