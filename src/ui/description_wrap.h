// The description paragraph broken into lines by measurement.
//
// Lines grow one character at a time while the text so far and the text up to the next blank
// both stay narrower than the rectangle (less one pixel), so a line breaks right after the blank
// before a word that would not fit. A run without blanks that is wider than a line (a long word,
// or a text written without blanks such as Chinese) is broken after its last character that
// fits. A line that would pass the rectangle's bottom is not started: the last line taken then
// holds the rest of the text (drawn clipped to its height).
//
// Text is taken to grow no narrower as it grows, so a piece up to the next blank that fits is
// measured once for all the line ends inside it (the designed wrap measured every one).
//
// Pure functions over a measuring callback; the painter's thread for drawing.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::ui {

struct DescriptionLine {
  size_t start = 0;  // text[start, end)
  size_t end = 0;
  int height = 0;  // as measured

  bool operator==(const DescriptionLine&) const = default;
};

// Width and height of one line of text.
using MeasureText = std::function<QSize(std::u16string_view)>;

// The lines of `text` in `rect`; none for an empty text or when not even one line fits.
std::vector<DescriptionLine> WrapDescription(std::u16string_view text, const QRect& rect,
                                             const MeasureText& measure);

// WrapDescription measured with `font`, kept until the text, the rectangle or the font changes:
// a wrap still measures the text many times, far too much to repeat on every paint of an
// unchanged window. Owned by the window that draws the description; used on its UI thread only.
class DescriptionWrapCache {
 public:
  const std::vector<DescriptionLine>& Lines(std::u16string_view text, const QRect& rect,
                                            const QFont& font);

 private:
  bool valid_ = false;
  std::u16string text_;
  QRect rect_;
  QFont font_;
  std::vector<DescriptionLine> lines_;
};

// The lines of `text` (from `wrap`) drawn with `font`, line below line, in `color`.
void DrawDescription(QPainter& painter, std::u16string_view text, const QRect& rect,
                     const QFont& font, const QColor& color, DescriptionWrapCache& wrap);

// The measurement with `font`: the advance width and the line height.
MeasureText MeasureWith(const QFont& font);

}  // namespace qv::ui
