// Scaling a picture down to a square icon size, for the sizes of the desktop's icon theme.
// Pure function; any thread.
#pragma once

#include <cstdint>

#include "workflow/shortcuts/png_decoder.h"

namespace qv::workflow {

// `picture` as a `side` x `side` square: a picture that is not square is centred on a
// transparent square of its longer side first; every target pixel is the average of the source
// area it covers, weighted by alpha (so transparent pixels lend no colour to the edges). A
// picture already of that size comes back unchanged. Empty when `picture` is empty, `side` is 0,
// or the picture's longer side is smaller than `side` (an icon is never scaled up).
RgbaImage ScaleToSquare(const RgbaImage& picture, uint32_t side);

}  // namespace qv::workflow
