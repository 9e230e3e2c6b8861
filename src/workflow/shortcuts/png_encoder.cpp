#include "workflow/shortcuts/png_encoder.h"

#include <png.h>

#include <cstring>

namespace qv::workflow {
namespace {

constexpr size_t kBytesPerPixel = 4;

// libpng's simplified writer, freed on every path (its long jumps stay inside the library).
class PngImageWriter {
 public:
  PngImageWriter() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImageWriter() { png_image_free(&image_); }
  PngImageWriter(const PngImageWriter&) = delete;
  PngImageWriter& operator=(const PngImageWriter&) = delete;

  png_image& image() { return image_; }

 private:
  png_image image_;
};

}  // namespace

std::string EncodePng(const RgbaImage& picture) {
  if (picture.width == 0 || picture.height == 0 ||
      picture.pixels.size() != size_t{picture.width} * picture.height * kBytesPerPixel) {
    return {};
  }
  PngImageWriter writer;
  png_image& image = writer.image();
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.pixels.data(), 0, nullptr)) {
    return {};
  }
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, picture.pixels.data(), 0,
                                 nullptr)) {
    return {};
  }
  bytes.resize(size);
  return bytes;
}

}  // namespace qv::workflow
