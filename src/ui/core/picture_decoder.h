// Decoding the pictures the windows show: PNG and JPEG bytes into a premultiplied Surface. Each
// window backend gives the definition with its system's decoders (Qt's image readers on Linux,
// the GDI+ flat interface on Windows); the shared part only declares it.
//
// Bad input has a defined outcome: bytes that are not a picture, a damaged picture or one larger
// than Surface::kMaxSide either way give a null surface. Any thread.
#pragma once

#include <cstddef>
#include <span>

#include "ui/core/surface.h"

namespace qv::ui {

Surface DecodePicture(std::span<const std::byte> bytes);

}  // namespace qv::ui
