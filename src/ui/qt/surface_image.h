// Surfaces as QImages: both hold premultiplied 0xAARRGGBB pixels in rows without padding
// (Format_ARGB32_Premultiplied), so a Surface is wrapped or copied without converting a pixel.
#pragma once

#include <QImage>

#include "ui/core/surface.h"

namespace qv::ui {

// A QImage over `surface`'s own pixels: valid while the surface lives and keeps its size; painting
// on it paints on the surface. Null for a null surface.
QImage WrapSurface(Surface& surface);

// A QImage with a copy of `surface`'s pixels.
QImage ToQImage(const Surface& surface);

// A Surface with a copy of `image`'s pixels (converted to ARGB32 premultiplied first); null for a
// null image or one larger than Surface::kMaxSide.
Surface FromQImage(const QImage& image);

}  // namespace qv::ui
