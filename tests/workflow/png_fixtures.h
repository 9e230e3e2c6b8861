// Pictures for the icon tests, encoded with libpng's writer.
#pragma once

#include <cstdint>
#include <string>

#include "workflow/shortcuts/png_decoder.h"

namespace qv::test {

// A width x height picture whose pixel (x, y) has red x, green y, blue x + y (low 8 bits) and the
// alpha `alpha(x, y)`.
template <typename Alpha>
workflow::RgbaImage GradientPicture(uint32_t width, uint32_t height, Alpha alpha) {
  workflow::RgbaImage picture{width, height, {}};
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      picture.pixels.insert(picture.pixels.end(),
                            {static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                             static_cast<uint8_t>(x + y), static_cast<uint8_t>(alpha(x, y))});
    }
  }
  return picture;
}

// The PNG file of an 8-bit RGBA picture.
std::string EncodePng(const workflow::RgbaImage& picture);

// A PNG whose header declares width x height followed by an empty image data chunk (a hostile
// header), with every chunk's check sum right.
std::string PngHeaderOnly(uint32_t width, uint32_t height);

}  // namespace qv::test
