// The in-memory icon made from a picture: the counterpart of the original platform's icon handle
// that its imaging library makes from a bitmap.
//
// Such an icon is a 32-bit colour bitmap (blue, green, red, alpha; straight alpha, as the
// picture gives it) and a 1-bit mask bitmap of the same size whose bit is 1 where the pixel is
// fully transparent (alpha 0) and 0 elsewhere. Plain data; no shared state.
#pragma once

#include <cstdint>
#include <vector>

#include "workflow/shortcuts/png_decoder.h"

namespace qv::workflow {

struct IconHandle {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> colour;  // rows top-down, 4 bytes per pixel: blue, green, red, alpha
  std::vector<bool> mask;       // rows top-down, one entry per pixel: true where alpha is 0
};

IconHandle MakeIconHandle(const RgbaImage& picture);

}  // namespace qv::workflow
