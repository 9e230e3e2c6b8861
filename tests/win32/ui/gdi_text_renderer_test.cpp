// GDI text on a layered surface: measured and drawn by the system, merged as the Linux text is
// (the colour added where the surface is transparent, alpha kept 0; source-over on pictures).
#include "ui/win32/gdi_text_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/core/composition.h"

namespace qv::ui::win32 {
namespace {

const FontSpec kFont{u"Tahoma", 16};
const Color kOrange{248, 148, 0};

struct Coverage {
  int pixels = 0;        // pixels the text reached
  int left = 1 << 30;    // their bounding box, edges excluded
  int right = -1;
  int top = 1 << 30;
  int bottom = -1;
};

Coverage CoverageOf(const Surface& surface, bool (*reached)(uint32_t)) {
  Coverage coverage;
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) {
      if (!reached(surface.PixelAt(x, y))) continue;
      ++coverage.pixels;
      coverage.left = std::min(coverage.left, x);
      coverage.right = std::max(coverage.right, x + 1);
      coverage.top = std::min(coverage.top, y);
      coverage.bottom = std::max(coverage.bottom, y + 1);
    }
  }
  return coverage;
}

bool AnyColour(uint32_t pixel) { return (pixel & 0x00FFFFFFu) != 0; }

TEST(GdiTextRendererTest, MeasuresALineByItsTextAndFont) {
  GdiTextRenderer renderer;
  const Size short_line = renderer.Measure(kFont, u"Install");
  const Size long_line = renderer.Measure(kFont, u"Installation completed.");
  EXPECT_GT(short_line.width, 0);
  EXPECT_GT(long_line.width, short_line.width);
  EXPECT_GE(short_line.height, 16);  // the character height, plus the font's leading
  EXPECT_LT(short_line.height, 32);
  EXPECT_GT(renderer.Measure(kFont, u"a&b").width, renderer.Measure(kFont, u"ab").width)
      << "'&' is a character, not a mnemonic prefix";
  EXPECT_GT(renderer.Measure(FontSpec{u"Tahoma", 24}, u"Install").width, short_line.width);
}

TEST(GdiTextRendererTest, TextMergedOntoATransparentSurfaceAddsItsColourAndKeepsAlphaZero) {
  GdiTextRenderer renderer;
  Surface layer(200, 40);
  renderer.DrawLine(layer, kFont, kOrange, Rect{10, 5, 180, 30}, u"Downloading... 42%", true);
  Surface surface(200, 40);
  MergeTextLayer(surface, layer);

  const Coverage text = CoverageOf(surface, AnyColour);
  EXPECT_GT(text.pixels, 60);
  EXPECT_GE(text.left, 10);
  EXPECT_GE(text.top, 5);
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) {
      const uint32_t pixel = surface.PixelAt(x, y);
      ASSERT_EQ(PixelAlpha(pixel), 0u) << x << "," << y;
      // The text colour at the glyphs' coverage: never more than the colour, no blue in orange.
      ASSERT_LE(PixelRed(pixel), kOrange.red);
      ASSERT_LE(PixelGreen(pixel), kOrange.green);
      ASSERT_EQ(PixelBlue(pixel), 0u);
    }
  }
  // Somewhere the glyphs cover a pixel fully: the text colour itself.
  const Coverage solid = CoverageOf(surface, [](uint32_t pixel) {
    return PixelRed(pixel) == 248 && PixelGreen(pixel) == 148;
  });
  EXPECT_GT(solid.pixels, 0);
}

TEST(GdiTextRendererTest, TextOverAPictureIsDrawnSourceOverAndStaysOpaque) {
  GdiTextRenderer renderer;
  Surface layer(120, 30);
  renderer.DrawLine(layer, kFont, Color{255, 255, 255}, Rect{0, 0, 120, 30}, u"QVorvane", true);
  Surface surface(120, 30);
  surface.Fill(PremultipliedPixel(255, 33, 37, 40));
  MergeTextLayer(surface, layer);
  const Coverage lighter = CoverageOf(surface, [](uint32_t pixel) { return PixelRed(pixel) > 33; });
  EXPECT_GT(lighter.pixels, 30);
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) ASSERT_EQ(PixelAlpha(surface.PixelAt(x, y)), 255u);
  }
}

TEST(GdiTextRendererTest, ClippedTextStaysInItsBoxUnclippedTextRunsOnToTheLayer) {
  GdiTextRenderer renderer;
  const std::u16string text = u"Play on Browser, a long line";
  const Rect box{20, 10, 40, 12};
  const auto alpha = [](uint32_t pixel) { return PixelAlpha(pixel) != 0; };

  Surface clipped(300, 60);
  renderer.DrawLine(clipped, kFont, kOrange, box, text, true);
  const Coverage inside = CoverageOf(clipped, alpha);
  ASSERT_GT(inside.pixels, 0);
  EXPECT_GE(inside.left, box.left);
  EXPECT_LE(inside.right, box.Right());
  EXPECT_GE(inside.top, box.top);
  EXPECT_LE(inside.bottom, box.Bottom());

  Surface unclipped(300, 60);
  renderer.DrawLine(unclipped, kFont, kOrange, box, text, false);
  const Coverage beyond = CoverageOf(unclipped, alpha);
  EXPECT_GT(beyond.right, box.Right() + 60);
  EXPECT_GE(beyond.left, box.left);

  // A box partly outside the layer draws what falls inside and nothing else.
  Surface edge(50, 20);
  renderer.DrawLine(edge, kFont, kOrange, Rect{-10, -4, 200, 30}, text, false);
  EXPECT_GT(CoverageOf(edge, alpha).pixels, 0);
}

}  // namespace
}  // namespace qv::ui::win32
