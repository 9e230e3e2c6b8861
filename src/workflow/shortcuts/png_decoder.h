// Decoding PNG pictures into 8-bit RGBA pixels (libpng), for the shortcut icon.
//
// Bad input has a defined outcome: bytes that are not a PNG, a damaged or truncated stream and a
// picture larger than kMaxPictureSide in either direction are refused before (or instead of)
// any large allocation. Thread-safe: no shared state.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qv::workflow {

// The largest side accepted. A shortcut icon is at most 256 pixels across; larger pictures are
// still converted, up to a size whose pixels cost at most 64 MiB.
inline constexpr uint32_t kMaxPictureSide = 4096;

struct RgbaImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> pixels;  // rows top-down, 4 bytes per pixel: red, green, blue, alpha
};

enum class PngDecodeStatus { kOk, kNotPng, kDamaged, kTooLarge };

// Decodes a whole PNG file held in memory. Pictures without alpha come out opaque (alpha 255);
// grey, palette and 16-bit pictures are converted to 8-bit RGBA. `out` is set only on kOk.
PngDecodeStatus DecodePng(std::string_view bytes, RgbaImage& out);

}  // namespace qv::workflow
