// Surface: the 32-bit picture a layered window's content is composed on, and the form every
// decoded picture takes.
//
// Each pixel is one uint32_t 0xAARRGGBB with premultiplied colour (each channel at most alpha);
// rows run top-down with no padding. In memory on a little-endian machine the bytes are blue,
// green, red, alpha: the layout of Qt's ARGB32_Premultiplied images and of a Win32 32-bit DIB,
// so a backend hands the pixels over without converting them (a DIB only turns the row order).
//
// A null surface (no pixels) stands for "no picture": drawing it draws nothing. Sizes are bounded
// (kMaxSide each way), so a hostile picture file cannot ask for an unbounded allocation.
//
// A value type owned by whoever holds it; not shared between threads without a hand-over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/core/geometry.h"

namespace qv::ui {

// Packs a premultiplied pixel; the channels are taken as given.
constexpr uint32_t PremultipliedPixel(uint32_t alpha, uint32_t red, uint32_t green,
                                      uint32_t blue) {
  return (alpha << 24) | (red << 16) | (green << 8) | blue;
}
constexpr uint32_t PixelAlpha(uint32_t pixel) { return pixel >> 24; }
constexpr uint32_t PixelRed(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
constexpr uint32_t PixelGreen(uint32_t pixel) { return (pixel >> 8) & 0xFF; }
constexpr uint32_t PixelBlue(uint32_t pixel) { return pixel & 0xFF; }

class Surface {
 public:
  static constexpr int kMaxSide = 16384;

  // A null surface.
  Surface() = default;
  // A fully transparent surface; null when a side is not positive or larger than kMaxSide.
  Surface(int width, int height);
  // From straight (not premultiplied) 8-bit RGBA rows, top-down: what the picture decoders give.
  // Null when the size is out of range or `rgba` holds fewer than width * height * 4 bytes.
  static Surface FromStraightRgba(int width, int height, const uint8_t* rgba, size_t size);

  bool IsNull() const { return pixels_.empty(); }
  int width() const { return width_; }
  int height() const { return height_; }
  Size GetSize() const { return Size{width_, height_}; }
  Rect Bounds() const { return Rect{0, 0, width_, height_}; }

  uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t* Pixels() { return pixels_.data(); }
  const uint32_t* Pixels() const { return pixels_.data(); }
  size_t ByteSize() const { return pixels_.size() * sizeof(uint32_t); }
  // The pixel at (x, y); 0 (transparent) outside the surface.
  uint32_t PixelAt(int x, int y) const;

  void Fill(uint32_t pixel);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace qv::ui
