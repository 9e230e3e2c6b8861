#include "workflow/shortcuts/png_decoder.h"

#include <png.h>

#include "workflow/shortcuts/png_image.h"

namespace qv::workflow {
namespace {

constexpr size_t kSignatureSize = 8;
constexpr uint32_t kBytesPerPixel = 4;

}  // namespace

PngDecodeStatus DecodePng(std::string_view bytes, RgbaImage& out) {
  if (bytes.size() < kSignatureSize ||
      png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, kSignatureSize) != 0) {
    return PngDecodeStatus::kNotPng;
  }
  PngImage reader;
  png_image& image = reader.image();
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    return PngDecodeStatus::kDamaged;
  }
  if (image.width == 0 || image.height == 0) return PngDecodeStatus::kDamaged;
  if (image.width > kMaxPictureSide || image.height > kMaxPictureSide) {
    return PngDecodeStatus::kTooLarge;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(size_t{image.width} * image.height * kBytesPerPixel);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    return PngDecodeStatus::kDamaged;
  }
  out.width = image.width;
  out.height = image.height;
  out.pixels = std::move(pixels);
  return PngDecodeStatus::kOk;
}

}  // namespace qv::workflow
