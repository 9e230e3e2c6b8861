// The description paragraph broken into lines by measurement.
//
// Lines grow one character at a time while the text so far and the text up to the next blank
// both stay narrower than the rectangle (less one pixel), so a line breaks right after the blank
// before a word that would not fit. A run without blanks that is wider than a line (a long word,
// or a text written without blanks such as Chinese) is broken after its last character that
// fits. A line that would pass the rectangle's bottom is not started: the last line taken then
// holds the rest of the text, of which only what wraps onto its first line is drawn (the rest
// lies below the rectangle).
//
// Text is taken to grow no narrower as it grows, so a piece up to the next blank that fits is
// measured once for all the line ends inside it (the designed wrap measured every one).
//
// Pure functions over a measuring callback; the window's UI thread for drawing (TextRenderer).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/surface.h"
#include "ui/core/text_renderer.h"

namespace qv::ui {

struct DescriptionLine {
  size_t start = 0;  // text[start, end)
  size_t end = 0;
  int height = 0;  // as measured

  bool operator==(const DescriptionLine&) const = default;
};

// Width and height of one line of text.
using MeasureText = std::function<Size(std::u16string_view)>;

// The lines of `text` in `rect`; none for an empty text or when not even one line fits.
std::vector<DescriptionLine> WrapDescription(std::u16string_view text, const Rect& rect,
                                             const MeasureText& measure);

// The measurement of `renderer` in `font`.
MeasureText MeasureWith(TextRenderer& renderer, const FontSpec& font);

// The lines to draw, measured with a font, kept until the text, the rectangle or the font
// changes: a wrap still measures the text many times, far too much to repeat on every paint of
// an unchanged window. The last line that holds the rest of the text is cut to what wraps onto
// it. Owned by the view that draws the description; its UI thread only.
class DescriptionWrapCache {
 public:
  const std::vector<DescriptionLine>& Lines(std::u16string_view text, const Rect& rect,
                                            const FontSpec& font, TextRenderer& renderer);

 private:
  bool valid_ = false;
  std::u16string text_;
  Rect rect_;
  FontSpec font_;
  std::vector<DescriptionLine> lines_;
};

// The lines of `text` (from `wrap`) set with `font` in `color` onto the text layer `layer`, line
// below line (one pixel apart), each clipped to the rectangle's width and its own height.
void DrawDescription(Surface& layer, TextRenderer& renderer, std::u16string_view text,
                     const Rect& rect, const FontSpec& font, Color color,
                     DescriptionWrapCache& wrap);

}  // namespace qv::ui
