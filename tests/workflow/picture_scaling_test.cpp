#include "workflow/shortcuts/picture_scaling.h"

#include <gtest/gtest.h>

#include "png_fixtures.h"
#include "workflow/shortcuts/png_encoder.h"

namespace qv::workflow {
namespace {

TEST(PictureScalingTest, APixelIsTheAlphaWeightedAverageOfItsArea) {
  // Red and blue opaque over two transparent pixels: the colour is the opaque pixels' mean,
  // the alpha the mean of all four.
  const RgbaImage picture{2, 2, {255, 0, 0, 255, 0, 0, 255, 255, 9, 9, 9, 0, 9, 9, 9, 0}};
  const RgbaImage one = ScaleToSquare(picture, 1);
  EXPECT_EQ(one.width, 1u);
  EXPECT_EQ(one.pixels, (std::vector<uint8_t>{128, 0, 128, 128}));
}

TEST(PictureScalingTest, AWidePictureIsCentredOnATransparentSquare) {
  const RgbaImage wide{4, 2, std::vector<uint8_t>(4 * 2 * 4, 255)};
  const RgbaImage square = ScaleToSquare(wide, 4);
  ASSERT_EQ(square.height, 4u);
  for (uint32_t y = 0; y < 4; ++y) {
    EXPECT_EQ(square.pixels[(y * 4) * 4 + 3], (y == 1 || y == 2) ? 255 : 0) << y;
  }
}

TEST(PictureScalingTest, NoPictureIsScaledUpAndOneOfTheSizeIsKept) {
  const RgbaImage picture =
      test::GradientPicture(48, 48, [](uint32_t x, uint32_t) { return x * 5; });
  EXPECT_TRUE(ScaleToSquare(picture, 64).pixels.empty());
  EXPECT_EQ(ScaleToSquare(picture, 48).pixels, picture.pixels);
  EXPECT_TRUE(ScaleToSquare(RgbaImage{}, 16).pixels.empty());
}

TEST(PictureScalingTest, AnEncodedPictureDecodesToTheSamePixels) {
  const RgbaImage picture =
      test::GradientPicture(37, 20, [](uint32_t x, uint32_t y) { return (x * y) & 0xff; });
  RgbaImage decoded;
  ASSERT_EQ(DecodePng(EncodePng(picture), decoded), PngDecodeStatus::kOk);
  EXPECT_EQ(decoded.width, 37u);
  EXPECT_EQ(decoded.height, 20u);
  EXPECT_EQ(decoded.pixels, picture.pixels);
  EXPECT_EQ(EncodePng(RgbaImage{2, 2, {1, 2, 3}}), "") << "pixels that do not fit the size";
}

}  // namespace
}  // namespace qv::workflow
