// The progress bar: where the fill ends for a percentage, and which pieces of the 20 x 20 sprite
// (rows 0-9 the track, rows 10-19 the fill, each with rounded ends) are drawn where.
//
// Pure functions; any thread.
#pragma once

#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/surface.h"

namespace qv::ui {

struct SpritePiece {
  Rect target;  // on the surface; the source is stretched over it
  Rect source;  // in the sprite
  bool operator==(const SpritePiece&) const = default;
};

// The fill rectangle for `percent` on the bar `bar`: from 6 px inside the left end to
// left + 22 + ((width - 12) / 100) * percent, 10 px high (integer arithmetic).
Rect ProgressFillRect(const Rect& bar, int percent);

// The pieces in drawing order: the track's left end, middle and right end; with a percent above
// 0 the fill's left end and middle (over the fill rectangle); at 100 or more the fill's right end.
std::vector<SpritePiece> ProgressBarPieces(const Rect& bar, int percent);

// The pieces of `sprite` drawn onto `surface`; nothing without a sprite.
void DrawProgressBar(Surface& surface, const Surface& sprite, const Rect& bar, int percent);

}  // namespace qv::ui
