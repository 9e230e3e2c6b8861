// The pictures and icons as the installer embeds them: each decodes, has its size, and is opaque
// and see-through where the windows rely on it (pictures take the mouse only where alpha > 0).

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/resources.h"

namespace qv {
namespace {

struct Rgba {
  uint8_t r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgba& p) {
  return out << '(' << +p.r << ", " << +p.g << ", " << +p.b << ", alpha " << +p.a << ')';
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;
  Rgba At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// Decodes resource `id` to straight (not premultiplied) 8-bit RGBA; an opaque PNG gets alpha 255.
testing::AssertionResult Decode(int id, Picture* picture) {
  const auto bytes = platform::FindResource(id);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return testing::AssertionFailure() << "resource " << id << " is no PNG: " << image.message;
  image.format = PNG_FORMAT_RGBA;
  picture->width = static_cast<int>(image.width);
  picture->height = static_cast<int>(image.height);
  picture->pixels.resize(size_t{image.width} * image.height);
  if (!png_image_finish_read(&image, nullptr, picture->pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return testing::AssertionFailure() << "resource " << id << " does not decode: " << image.message;
  }
  return testing::AssertionSuccess();
}

TEST(PicturesTest, EveryPictureAndIconDecodesWithItsSize) {
  struct Case {
    int id;
    int width, height;
  };
  const Case kCases[] = {
      {107, 256, 256}, {108, 16, 16},                                  // icons: large, small
      {131, 584, 410},                                                 // frame
      {132, 16, 16},   {133, 16, 16}, {134, 16, 16}, {135, 16, 16},   // buttons
      {136, 20, 20},                                                   // progress sprite
      {137, 558, 205},                                                 // default header
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.id);
    Picture picture;
    ASSERT_TRUE(Decode(c.id, &picture));
    EXPECT_EQ(picture.width, c.width);
    EXPECT_EQ(picture.height, c.height);
  }
}

TEST(PicturesTest, TheFrameIsAnOpaquePanelWithALighterBorderInATranslucentShadow) {
  Picture frame;
  ASSERT_TRUE(Decode(131, &frame));
  ASSERT_EQ(frame.width, 584);
  constexpr int kLeft = 12, kTop = 12, kRight = 572, kBottom = 398;  // the panel, right/bottom excl.
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const bool panel = x >= kLeft && x < kRight && y >= kTop && y < kBottom;
      if (panel) {
        ASSERT_EQ(frame.At(x, y).a, 255) << x << ", " << y;
      } else {
        ASSERT_LT(frame.At(x, y).a, 255) << x << ", " << y;
      }
    }
  }
  // The shadow is there next to the panel and fades out towards the picture's edge.
  for (const auto [x, y] : {std::array{11, 200}, {300, 11}, {572, 200}, {300, 398}}) {
    EXPECT_GT(frame.At(x, y).a, 64) << x << ", " << y;
  }
  EXPECT_LT(frame.At(0, 200).a, 8);
  // The border is lighter than the panel just inside it, on every side.
  const auto lightness = [](Rgba p) { return p.r + p.g + p.b; };
  for (const auto [border_x, border_y, inner_x, inner_y] :
       {std::array{kLeft, 200, kLeft + 1, 200}, {kRight - 1, 200, kRight - 2, 200},
        {300, kTop, 300, kTop + 1}, {300, kBottom - 1, 300, kBottom - 2}}) {
    EXPECT_GT(lightness(frame.At(border_x, border_y)), lightness(frame.At(inner_x, inner_y)))
        << border_x << ", " << border_y;
  }
}

TEST(PicturesTest, TheDefaultHeaderIsOpaque) {
  Picture header;
  ASSERT_TRUE(Decode(137, &header));
  for (const Rgba& pixel : header.pixels) ASSERT_EQ(pixel.a, 255);
}

TEST(PicturesTest, ButtonsAreOneColourAndTakeTheMouseOnTheirWholeSquare) {
  constexpr Rgba kGrey{125, 134, 143, 255}, kOrange{247, 149, 21, 255};
  const struct {
    int id;
    Rgba colour;
  } kCases[] = {{132, kGrey}, {133, kGrey}, {134, kOrange}, {135, kOrange}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.id);
    Picture button;
    ASSERT_TRUE(Decode(c.id, &button));
    for (const Rgba& pixel : button.pixels) {
      ASSERT_GT(pixel.a, 0) << "a click here would fall through to the window beneath";
      ASSERT_EQ((Rgba{pixel.r, pixel.g, pixel.b, 255}), c.colour);
    }
    EXPECT_EQ(button.At(7, 7).a, 255) << "the cross and the bar both cross the centre";
    EXPECT_LT(button.At(0, 0).a, 8) << "the square around the glyph is see-through";
  }
}

TEST(PicturesTest, TheProgressSpriteHasRoundedTrackAndFillThatStretchWithoutSeams) {
  Picture sprite;
  ASSERT_TRUE(Decode(136, &sprite));
  ASSERT_EQ(sprite.width, 20);
  ASSERT_EQ(sprite.height, 20);
  EXPECT_EQ(sprite.At(10, 5), (Rgba{61, 70, 77, 255}));
  EXPECT_EQ(sprite.At(10, 15), (Rgba{248, 148, 0, 255}));
  for (const auto [x, y] : {std::array{0, 0}, {19, 0}, {0, 9}, {19, 9}, {0, 10}, {19, 19}}) {
    EXPECT_LT(sprite.At(x, y).a, 128) << "rounded end at " << x << ", " << y;
  }
  // The middle pieces (columns 7 to 14) are stretched, so every column there must be the same.
  for (int y = 0; y < 20; ++y) {
    for (int x = 7; x < 15; ++x) ASSERT_EQ(sprite.At(x, y), sprite.At(7, y)) << x << ", " << y;
  }
}

}  // namespace
}  // namespace qv
