#include "ui/progress_bar.h"

namespace qv::ui {
namespace {

constexpr int kEndWidth = 6;    // each rounded end
constexpr int kPieceHeight = 10;
constexpr int kFillStart = 22;  // the fill's middle starts this far right of the bar's left...
constexpr int kTrackMargin = 12;  // ...and the track's middle is the bar less both ends

// Sprite pieces: ends 6 px wide at the sprite's edges, the middle 8 columns from x 7.
const QRect kTrackLeft(0, 0, kEndWidth, kPieceHeight);
const QRect kTrackMiddle(7, 0, 8, kPieceHeight);
const QRect kTrackRight(14, 0, kEndWidth, kPieceHeight);
const QRect kFillLeft(0, 10, kEndWidth, kPieceHeight);
const QRect kFillMiddle(7, 10, 8, kPieceHeight);
const QRect kFillRight(14, 10, kEndWidth, kPieceHeight);

}  // namespace

QRect ProgressFillRect(const QRect& bar, int percent) {
  const int left = bar.left();
  const int span = bar.width() - kTrackMargin;
  const int right = left + kFillStart + (span / 100) * percent;
  return QRect(QPoint(left + kEndWidth, bar.top()), QPoint(right - 1, bar.top() + kPieceHeight - 1));
}

std::vector<SpritePiece> ProgressBarPieces(const QRect& bar, int percent) {
  const int left = bar.left();
  const int top = bar.top();
  const int right_end = bar.left() + bar.width() - kEndWidth;
  std::vector<SpritePiece> pieces = {
      {QRect(left, top, kEndWidth, kPieceHeight), kTrackLeft},
      {QRect(left + kEndWidth, top, bar.width() - kTrackMargin, kPieceHeight), kTrackMiddle},
      {QRect(right_end, top, kEndWidth, kPieceHeight), kTrackRight},
  };
  if (percent > 0) {
    pieces.push_back({QRect(left, top, kEndWidth, kPieceHeight), kFillLeft});
    pieces.push_back({ProgressFillRect(bar, percent), kFillMiddle});
  }
  if (percent >= 100) pieces.push_back({QRect(right_end, top, kEndWidth, kPieceHeight), kFillRight});
  return pieces;
}

void DrawProgressBar(QPainter& painter, const QImage& sprite, const QRect& bar, int percent) {
  if (sprite.isNull()) return;
  for (const SpritePiece& piece : ProgressBarPieces(bar, percent)) {
    if (piece.target.width() > 0) painter.drawImage(piece.target, sprite, piece.source);
  }
}

}  // namespace qv::ui
