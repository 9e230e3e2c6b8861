#include "workflow/shortcuts/icon_handle.h"

namespace qv::workflow {

IconHandle MakeIconHandle(const RgbaImage& picture) {
  IconHandle icon;
  icon.width = picture.width;
  icon.height = picture.height;
  const size_t count = size_t{picture.width} * picture.height;
  icon.colour.resize(count * 4);
  icon.mask.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* rgba = &picture.pixels[i * 4];
    uint8_t* bgra = &icon.colour[i * 4];
    bgra[0] = rgba[2];
    bgra[1] = rgba[1];
    bgra[2] = rgba[0];
    bgra[3] = rgba[3];
    icon.mask[i] = rgba[3] == 0;
  }
  return icon;
}

}  // namespace qv::workflow
