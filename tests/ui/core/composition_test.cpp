#include "ui/core/composition.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/core/surface.h"

namespace qv::ui {
namespace {

constexpr uint32_t kOpaqueRed = PremultipliedPixel(255, 255, 0, 0);
constexpr uint32_t kOpaqueBlue = PremultipliedPixel(255, 0, 0, 255);
constexpr uint32_t kHalfWhite = PremultipliedPixel(128, 128, 128, 128);

Surface Filled(int width, int height, uint32_t pixel) {
  Surface surface(width, height);
  surface.Fill(pixel);
  return surface;
}

TEST(SurfaceTest, SizesOutOfRangeGiveNoPicture) {
  for (const Size size : {Size{0, 5}, Size{5, -1}, Size{Surface::kMaxSide + 1, 1}}) {
    EXPECT_TRUE(Surface(size.width, size.height).IsNull()) << size.width << "x" << size.height;
  }
  const Surface fine(3, 2);
  ASSERT_FALSE(fine.IsNull());
  EXPECT_EQ(fine.PixelAt(2, 1), 0u);
  EXPECT_EQ(fine.PixelAt(3, 0), 0u) << "outside reads as transparent";
}

TEST(SurfaceTest, StraightRgbaIsPremultipliedAndShortBuffersAreRefused) {
  const std::vector<uint8_t> rgba = {255, 0, 0, 255, 200, 100, 50, 128, 9, 9, 9, 0};
  const Surface surface = Surface::FromStraightRgba(3, 1, rgba.data(), rgba.size());
  ASSERT_FALSE(surface.IsNull());
  EXPECT_EQ(surface.PixelAt(0, 0), kOpaqueRed);
  EXPECT_EQ(surface.PixelAt(1, 0), PremultipliedPixel(128, 100, 50, 25));
  EXPECT_EQ(surface.PixelAt(2, 0), 0u) << "a fully transparent pixel keeps no colour";

  EXPECT_TRUE(Surface::FromStraightRgba(3, 1, rgba.data(), rgba.size() - 1).IsNull());
  EXPECT_TRUE(Surface::FromStraightRgba(1 << 20, 1 << 20, rgba.data(), rgba.size()).IsNull());
}

TEST(CompositionTest, PicturesAreDrawnSourceOver) {
  struct Case {
    uint32_t below;
    uint32_t picture;
    uint32_t expected;
  };
  const Case cases[] = {
      {0, kHalfWhite, kHalfWhite},
      {kOpaqueBlue, kHalfWhite, PremultipliedPixel(255, 128, 128, 255)},
      {kOpaqueBlue, kOpaqueRed, kOpaqueRed},
      {kOpaqueBlue, 0, kOpaqueBlue},
  };
  for (const Case& c : cases) {
    Surface target = Filled(2, 2, c.below);
    DrawPictureAt(target, Filled(1, 1, c.picture), Point{1, 1});
    EXPECT_EQ(target.PixelAt(1, 1), c.expected) << std::hex << c.below << " " << c.picture;
    EXPECT_EQ(target.PixelAt(0, 0), c.below) << "outside the picture";
  }
}

TEST(CompositionTest, StretchedPictureIsFilteredBetweenPixelCentres) {
  Surface picture(2, 1);
  picture.Row(0)[0] = kOpaqueRed;
  picture.Row(0)[1] = kOpaqueBlue;
  Surface target(8, 2);
  DrawPicture(target, picture, Rect{0, 0, 8, 2});
  // Each source pixel covers four target columns: the outer ones clamp to the edge pixels, the
  // ones near the middle mix both.
  EXPECT_EQ(target.PixelAt(0, 0), kOpaqueRed);
  EXPECT_EQ(target.PixelAt(1, 1), kOpaqueRed);
  EXPECT_EQ(target.PixelAt(6, 0), kOpaqueBlue);
  EXPECT_EQ(target.PixelAt(7, 1), kOpaqueBlue);
  const uint32_t left_of_middle = target.PixelAt(3, 0);
  const uint32_t right_of_middle = target.PixelAt(4, 0);
  EXPECT_EQ(PixelAlpha(left_of_middle), 255u);
  EXPECT_GT(PixelRed(left_of_middle), PixelBlue(left_of_middle));
  EXPECT_GT(PixelBlue(right_of_middle), PixelRed(right_of_middle));
  EXPECT_EQ(PixelRed(left_of_middle) + PixelBlue(left_of_middle), 255u);
}

TEST(CompositionTest, SourcePieceIsStretchedAndClippedToBothSurfaces) {
  // A sprite with a red top row and a blue bottom row: only the bottom row is used, stretched
  // over a rectangle that reaches past the target's edges.
  Surface sprite(3, 2);
  for (int x = 0; x < 3; ++x) {
    sprite.Row(0)[x] = kOpaqueRed;
    sprite.Row(1)[x] = kOpaqueBlue;
  }
  Surface target(4, 4);
  DrawPicture(target, sprite, Rect{-2, 1, 10, 2}, Rect{0, 1, 3, 5});
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(target.PixelAt(x, 0), 0u);
    EXPECT_EQ(target.PixelAt(x, 1), kOpaqueBlue);
    EXPECT_EQ(target.PixelAt(x, 2), kOpaqueBlue);
    EXPECT_EQ(target.PixelAt(x, 3), 0u);
  }
  // Nothing to draw: a null picture, an empty target rectangle, a source outside the picture.
  Surface untouched(4, 4);
  DrawPicture(untouched, Surface(), Rect{0, 0, 4, 4});
  DrawPicture(untouched, sprite, Rect{0, 0, 0, 4});
  DrawPicture(untouched, sprite, Rect{0, 0, 4, 4}, Rect{5, 5, 2, 2});
  DrawPictureAt(untouched, sprite, Point{100, -100});
  EXPECT_TRUE(OpaqueRegion(untouched).IsEmpty());
}

TEST(CompositionTest, TextAddsItsColourWhereTheSurfaceIsTransparent) {
  Surface surface(3, 1);
  surface.Row(0)[0] = PremultipliedPixel(0, 10, 20, 30);  // transparent, colour from earlier text
  surface.Row(0)[1] = kOpaqueBlue;
  Surface layer(3, 1);
  layer.Fill(PremultipliedPixel(255, 250, 100, 0));
  MergeTextLayer(surface, layer);
  EXPECT_EQ(surface.PixelAt(0, 0), PremultipliedPixel(0, 255, 120, 30)) << "added, alpha kept 0";
  EXPECT_EQ(surface.PixelAt(1, 0), PremultipliedPixel(255, 250, 100, 0)) << "over a picture";
  EXPECT_EQ(surface.PixelAt(2, 0), PremultipliedPixel(0, 250, 100, 0));

  Surface other(2, 1);
  MergeTextLayer(other, layer);
  EXPECT_EQ(other.PixelAt(0, 0), 0u) << "a layer of another size is not merged";
}

TEST(CompositionTest, OpaqueRegionJoinsRowsWithTheSameRuns) {
  Surface surface(6, 4);
  for (int y = 0; y < 2; ++y) {
    surface.Row(y)[1] = kOpaqueRed;
    surface.Row(y)[2] = PremultipliedPixel(1, 1, 0, 0);
    surface.Row(y)[4] = kOpaqueRed;
  }
  surface.Row(3)[0] = kOpaqueRed;
  const Region region = OpaqueRegion(surface);
  const std::vector<Rect> expected = {Rect::FromEdges(1, 0, 3, 2), Rect::FromEdges(4, 0, 5, 2),
                                      Rect::FromEdges(0, 3, 1, 4)};
  EXPECT_EQ(region.rects, expected);
  EXPECT_TRUE(region.Contains(Point{2, 1}));
  EXPECT_FALSE(region.Contains(Point{3, 1}));
  EXPECT_FALSE(region.Contains(Point{0, 2}));
}

}  // namespace
}  // namespace qv::ui
