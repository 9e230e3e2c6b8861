#include "ui/core/progress_bar.h"

#include <gtest/gtest.h>

#include "ui/core/client_layout.h"

namespace qv::ui {
namespace {

const Rect kBar = ProgressBarRect();  // (16, 345)-(543, 355)

TEST(ProgressBarTest, FillEndsFivePixelsFurtherForEveryPercent) {
  struct Case {
    int percent;
    int fill_right;  // excluded
  };
  const Case cases[] = {{0, 38}, {1, 43}, {50, 288}, {98, 528}, {100, 538}};
  for (const Case& c : cases) {
    EXPECT_EQ(ProgressFillRect(kBar, c.percent), Rect::FromEdges(22, 345, c.fill_right, 355)) << c.percent;
  }
}

TEST(ProgressBarTest, PiecesDependOnThePercentage) {
  const SpritePiece track_left{Rect::FromEdges(16, 345, 22, 355), Rect{0, 0, 6, 10}};
  const SpritePiece track_middle{Rect::FromEdges(22, 345, 537, 355), Rect{7, 0, 8, 10}};
  const SpritePiece track_right{Rect::FromEdges(537, 345, 543, 355), Rect{14, 0, 6, 10}};
  const SpritePiece fill_left{Rect::FromEdges(16, 345, 22, 355), Rect{0, 10, 6, 10}};
  const SpritePiece fill_right{Rect::FromEdges(537, 345, 543, 355), Rect{14, 10, 6, 10}};
  auto fill_middle = [](int right) {
    return SpritePiece{Rect::FromEdges(22, 345, right, 355), Rect{7, 10, 8, 10}};
  };
  struct Case {
    int percent;
    std::vector<SpritePiece> pieces;
  };
  const Case cases[] = {
      {0, {track_left, track_middle, track_right}},
      {1, {track_left, track_middle, track_right, fill_left, fill_middle(43)}},
      {98, {track_left, track_middle, track_right, fill_left, fill_middle(528)}},
      {100, {track_left, track_middle, track_right, fill_left, fill_middle(538), fill_right}},
  };
  for (const Case& c : cases) {
    const auto pieces = ProgressBarPieces(kBar, c.percent);
    ASSERT_EQ(pieces.size(), c.pieces.size()) << c.percent;
    for (size_t i = 0; i < pieces.size(); ++i) {
      EXPECT_EQ(pieces[i].target, c.pieces[i].target) << c.percent << " piece " << i;
      EXPECT_EQ(pieces[i].source, c.pieces[i].source) << c.percent << " piece " << i;
    }
  }
}

}  // namespace
}  // namespace qv::ui
