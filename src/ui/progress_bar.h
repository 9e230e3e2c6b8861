// The progress bar: where the fill ends for a percentage, and which pieces of the 20 x 20 sprite
// (rows 0-9 the track, rows 10-19 the fill, each with rounded ends) are drawn where.
//
// Pure geometry plus one drawing call; any thread for the geometry, the painter's thread for
// drawing.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <vector>

namespace qv::ui {

struct SpritePiece {
  QRect target;  // on the surface; the source is stretched over it
  QRect source;  // in the sprite
};

// The fill rectangle for `percent` on the bar `bar`: from 6 px inside the left end to
// left + 22 + ((width - 12) / 100) * percent, 10 px high (integer arithmetic).
QRect ProgressFillRect(const QRect& bar, int percent);

// The pieces in drawing order: the track's left end, middle and right end; with a percent above
// 0 the fill's left end and middle (over the fill rectangle); at 100 or more the fill's right end.
std::vector<SpritePiece> ProgressBarPieces(const QRect& bar, int percent);

void DrawProgressBar(QPainter& painter, const QImage& sprite, const QRect& bar, int percent);

}  // namespace qv::ui
