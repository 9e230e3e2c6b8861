// TextRenderer: what the window backends give the shared drawing for text. Text is measured and
// rasterised by the toolkit of the system (Qt with fontconfig on Linux, GDI's DrawTextW on
// Windows), in the font the window asks for; everything else about text (where each piece goes,
// how the description wraps, how text is merged into a surface) is shared.
//
// Threads: the UI thread of the window that draws (fonts are toolkit objects there).
#pragma once

#include <string>
#include <string_view>

#include "ui/core/geometry.h"
#include "ui/core/surface.h"

namespace qv::ui {

// A font as the windows ask for it: a face name, the character height in pixels, normal weight.
struct FontSpec {
  std::u16string face;
  int pixels = 12;
  bool italic = false;
  bool underline = false;
  bool operator==(const FontSpec&) const = default;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;

  // The width and height of `text` set on one line in `font`.
  virtual Size Measure(const FontSpec& font, std::u16string_view text) = 0;

  // Sets `text` on one line in `font` and `color` onto `layer` (a transparent surface that is
  // merged with MergeTextLayer afterwards), its top-left at the top-left of `box`. The text is
  // clipped to `box` when `clip` is set, else only to the layer. The layer receives premultiplied
  // pixels whose alpha is the glyphs' coverage.
  virtual void DrawLine(Surface& layer, const FontSpec& font, Color color, const Rect& box,
                        std::u16string_view text, bool clip) = 0;
};

}  // namespace qv::ui
