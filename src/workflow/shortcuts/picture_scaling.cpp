#include "workflow/shortcuts/picture_scaling.h"

#include <algorithm>

namespace qv::workflow {
namespace {

constexpr size_t kBytesPerPixel = 4;

RgbaImage CentredOnSquare(const RgbaImage& picture) {
  const uint32_t side = std::max(picture.width, picture.height);
  RgbaImage square{side, side, std::vector<uint8_t>(size_t{side} * side * kBytesPerPixel, 0)};
  const uint32_t left = (side - picture.width) / 2;
  const uint32_t top = (side - picture.height) / 2;
  for (uint32_t y = 0; y < picture.height; ++y) {
    std::copy_n(picture.pixels.begin() + size_t{y} * picture.width * kBytesPerPixel,
                size_t{picture.width} * kBytesPerPixel,
                square.pixels.begin() + ((size_t{top} + y) * side + left) * kBytesPerPixel);
  }
  return square;
}

}  // namespace

RgbaImage ScaleToSquare(const RgbaImage& picture, uint32_t side) {
  if (picture.width == 0 || picture.height == 0 || side == 0 ||
      picture.pixels.size() != size_t{picture.width} * picture.height * kBytesPerPixel) {
    return {};
  }
  const RgbaImage square =
      picture.width == picture.height ? picture : CentredOnSquare(picture);
  const uint32_t source = square.width;
  if (source < side) return {};
  if (source == side) return square;

  RgbaImage out{side, side, std::vector<uint8_t>(size_t{side} * side * kBytesPerPixel)};
  // Source area of target pixel t along one axis: [t * source / side, (t + 1) * source / side),
  // in units of 1 / side source pixels so that every weight is a whole number.
  for (uint32_t ty = 0; ty < side; ++ty) {
    const uint64_t y0 = uint64_t{ty} * source, y1 = y0 + source;
    for (uint32_t tx = 0; tx < side; ++tx) {
      const uint64_t x0 = uint64_t{tx} * source, x1 = x0 + source;
      uint64_t colour[3] = {0, 0, 0}, alpha = 0, area = 0;
      for (uint64_t sy = y0 / side; sy * side < y1; ++sy) {
        const uint64_t wy = std::min(y1, (sy + 1) * side) - std::max(y0, sy * side);
        for (uint64_t sx = x0 / side; sx * side < x1; ++sx) {
          const uint64_t wx = std::min(x1, (sx + 1) * side) - std::max(x0, sx * side);
          const uint8_t* p = &square.pixels[(sy * source + sx) * kBytesPerPixel];
          const uint64_t weight = wx * wy;
          for (int c = 0; c < 3; ++c) colour[c] += uint64_t{p[c]} * p[3] * weight;
          alpha += uint64_t{p[3]} * weight;
          area += weight;
        }
      }
      uint8_t* q = &out.pixels[(size_t{ty} * side + tx) * kBytesPerPixel];
      for (int c = 0; c < 3; ++c) q[c] = alpha == 0 ? 0 : static_cast<uint8_t>((colour[c] + alpha / 2) / alpha);
      q[3] = static_cast<uint8_t>((alpha + area / 2) / area);
    }
  }
  return out;
}

}  // namespace qv::workflow
