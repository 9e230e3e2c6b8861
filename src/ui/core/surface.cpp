#include "ui/core/surface.h"

#include <algorithm>

namespace qv::ui {
namespace {

bool SideInRange(int side) { return side > 0 && side <= Surface::kMaxSide; }

uint32_t Premultiply(uint32_t channel, uint32_t alpha) { return (channel * alpha + 127) / 255; }

}  // namespace

Surface::Surface(int width, int height) {
  if (!SideInRange(width) || !SideInRange(height)) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

Surface Surface::FromStraightRgba(int width, int height, const uint8_t* rgba, size_t size) {
  if (!SideInRange(width) || !SideInRange(height) || rgba == nullptr ||
      size / 4 / static_cast<size_t>(width) < static_cast<size_t>(height)) {
    return Surface();
  }
  Surface surface(width, height);
  uint32_t* to = surface.Pixels();
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i, rgba += 4) {
    const uint32_t alpha = rgba[3];
    to[i] = PremultipliedPixel(alpha, Premultiply(rgba[0], alpha), Premultiply(rgba[1], alpha),
                               Premultiply(rgba[2], alpha));
  }
  return surface;
}

uint32_t Surface::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return Row(y)[x];
}

void Surface::Fill(uint32_t pixel) { std::fill(pixels_.begin(), pixels_.end(), pixel); }

}  // namespace qv::ui
