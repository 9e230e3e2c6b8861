#include "workflow/shortcuts/png_decoder.h"

#include <gtest/gtest.h>

#include "png_fixtures.h"

namespace qv::workflow {
namespace {

TEST(PngDecoderTest, DecodesEveryPixelWithItsAlpha) {
  const RgbaImage picture =
      test::GradientPicture(37, 11, [](uint32_t x, uint32_t y) { return (x * 7 + y) % 256; });
  RgbaImage decoded;
  ASSERT_EQ(DecodePng(test::EncodePng(picture), decoded), PngDecodeStatus::kOk);
  EXPECT_EQ(decoded.width, 37u);
  EXPECT_EQ(decoded.height, 11u);
  EXPECT_EQ(decoded.pixels, picture.pixels);
}

TEST(PngDecoderTest, BadInputIsRefusedWithItsReason) {
  const std::string good =
      test::EncodePng(test::GradientPicture(64, 64, [](uint32_t, uint32_t) { return 255; }));
  std::string bad_crc = good;
  bad_crc[bad_crc.size() / 2] ^= 0x55;  // inside the image data: its check sum no longer fits

  struct Case {
    const char* what;
    std::string bytes;
    PngDecodeStatus status;
  };
  const Case cases[] = {
      {"empty", "", PngDecodeStatus::kNotPng},
      {"text", "this is not a picture at all", PngDecodeStatus::kNotPng},
      {"signature only", good.substr(0, 8), PngDecodeStatus::kDamaged},
      {"truncated", good.substr(0, good.size() / 2), PngDecodeStatus::kDamaged},
      {"damaged data", bad_crc, PngDecodeStatus::kDamaged},
      {"no image data", test::PngHeaderOnly(16, 16), PngDecodeStatus::kDamaged},
      {"zero width", test::PngHeaderOnly(0, 16), PngDecodeStatus::kDamaged},
      {"one pixel too wide", test::PngHeaderOnly(kMaxPictureSide + 1, 1),
       PngDecodeStatus::kTooLarge},
      {"huge declared size", test::PngHeaderOnly(1000000, 1000000), PngDecodeStatus::kTooLarge},
      {"beyond the format's limit", test::PngHeaderOnly(0x7FFFFFFF, 0x7FFFFFFF),
       PngDecodeStatus::kDamaged},
  };
  for (const Case& c : cases) {
    RgbaImage out{3, 3, {1, 2, 3}};
    EXPECT_EQ(DecodePng(c.bytes, out), c.status) << c.what;
    EXPECT_EQ(out.width, 3u) << c.what << ": the output is only set on success";
    EXPECT_EQ(out.pixels.size(), 3u) << c.what;
  }
}

}  // namespace
}  // namespace qv::workflow
