#include "workflow/shortcuts/png_encoder.h"

#include <png.h>

#include "workflow/shortcuts/png_image.h"

namespace qv::workflow {
namespace {

constexpr size_t kBytesPerPixel = 4;

}  // namespace

std::string EncodePng(const RgbaImage& picture) {
  if (picture.width == 0 || picture.height == 0 ||
      picture.pixels.size() != size_t{picture.width} * picture.height * kBytesPerPixel) {
    return {};
  }
  PngImage writer;
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
