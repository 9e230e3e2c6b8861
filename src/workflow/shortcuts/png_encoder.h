// Encoding 8-bit RGBA pixels as a PNG file (libpng), for the icons of the desktop's icon theme.
// Thread-safe: no shared state.
#pragma once

#include <string>

#include "workflow/shortcuts/png_decoder.h"

namespace qv::workflow {

// The PNG file of `picture`, or empty text when the picture is empty or its pixels do not match
// its size.
std::string EncodePng(const RgbaImage& picture);

}  // namespace qv::workflow
