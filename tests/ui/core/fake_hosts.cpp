#include "fake_hosts.h"

#include "ui/core/surface.h"

namespace qv::ui::test {

Size BoxTextRenderer::Measure(const FontSpec&, std::u16string_view text) {
  ++measures;
  return Size{static_cast<int>(text.size()) * kGlyphWidth, kLineHeight};
}

void BoxTextRenderer::DrawLine(Surface& layer, const FontSpec&, Color color, const Rect& box,
                               std::u16string_view text, bool clip) {
  const Rect limit = clip ? box.Intersected(layer.Bounds()) : layer.Bounds();
  const uint32_t pixel = PremultipliedPixel(255, color.red, color.green, color.blue);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u' ') continue;
    const Rect glyph{box.left + static_cast<int>(i) * kGlyphWidth + 1, box.top + 3,
                     kGlyphWidth - 2, kLineHeight - 6};
    const Rect drawn = glyph.Intersected(limit);
    for (int y = drawn.top; y < drawn.Bottom(); ++y) {
      for (int x = drawn.left; x < drawn.Right(); ++x) layer.Row(y)[x] = pixel;
    }
  }
}

}  // namespace qv::ui::test
