#include "ui/core/progress_bar.h"

#include "ui/core/composition.h"

namespace qv::ui {
namespace {

constexpr int kEndWidth = 6;  // each rounded end
constexpr int kPieceHeight = 10;
// The fill's right edge lies this far right of the bar's left edge, plus one step per percent.
constexpr int kFillBase = 22;
// The track's middle is the bar less both ends; a hundredth of it is one step.
constexpr int kTrackMargin = 12;

// Sprite pieces: ends 6 px wide at the sprite's edges, the middle 8 columns from x 7.
constexpr Rect kTrackLeft{0, 0, kEndWidth, kPieceHeight};
constexpr Rect kTrackMiddle{7, 0, 8, kPieceHeight};
constexpr Rect kTrackRight{14, 0, kEndWidth, kPieceHeight};
constexpr Rect kFillLeft{0, 10, kEndWidth, kPieceHeight};
constexpr Rect kFillMiddle{7, 10, 8, kPieceHeight};
constexpr Rect kFillRight{14, 10, kEndWidth, kPieceHeight};

}  // namespace

Rect ProgressFillRect(const Rect& bar, int percent) {
  const int left = bar.left;
  const int step = (bar.width - kTrackMargin) / 100;
  const int right = left + kFillBase + step * percent;
  return Rect::FromEdges(left + kEndWidth, bar.top, right, bar.top + kPieceHeight);
}

std::vector<SpritePiece> ProgressBarPieces(const Rect& bar, int percent) {
  const int left = bar.left;
  const int top = bar.top;
  const int right_end = bar.Right() - kEndWidth;
  std::vector<SpritePiece> pieces = {
      {Rect{left, top, kEndWidth, kPieceHeight}, kTrackLeft},
      {Rect{left + kEndWidth, top, bar.width - kTrackMargin, kPieceHeight}, kTrackMiddle},
      {Rect{right_end, top, kEndWidth, kPieceHeight}, kTrackRight},
  };
  if (percent > 0) {
    pieces.push_back({Rect{left, top, kEndWidth, kPieceHeight}, kFillLeft});
    pieces.push_back({ProgressFillRect(bar, percent), kFillMiddle});
  }
  if (percent >= 100) {
    pieces.push_back({Rect{right_end, top, kEndWidth, kPieceHeight}, kFillRight});
  }
  return pieces;
}

void DrawProgressBar(Surface& surface, const Surface& sprite, const Rect& bar, int percent) {
  if (sprite.IsNull()) return;
  for (const SpritePiece& piece : ProgressBarPieces(bar, percent)) {
    if (piece.target.width > 0) DrawPicture(surface, sprite, piece.target, piece.source);
  }
}

}  // namespace qv::ui
