// GdiTextRenderer: the Windows text of the windows, with GDI. Fonts are made with CreateFontW in
// the face the FontSpec names (the system substitutes an installed face), its height the negated
// pixel size (a character height, as the windows ask for), normal weight, anti-aliased greys.
//
// GDI draws colour and leaves the alpha of a DIB at 0, so a line is drawn white on black into a
// DIB of its own, and each pixel's brightest channel is taken as the glyphs' coverage there: the
// layer gets the text colour at that coverage, premultiplied, with the coverage as alpha. Merged
// with MergeTextLayer the result is the Linux one: the colour added where the surface is
// transparent, alpha kept 0.
//
// '&' is drawn as itself, never as a mnemonic prefix, in Measure and DrawLine alike
// (DT_NOPREFIX), so that a measured line is the line drawn.
//
// Threads: the UI thread that draws; it owns its fonts and its measuring device context.
#pragma once

#include "platform/win32/windows_api.h"

#include <utility>
#include <vector>

#include "ui/core/text_renderer.h"

namespace qv::ui::win32 {

class GdiTextRenderer final : public TextRenderer {
 public:
  GdiTextRenderer();
  ~GdiTextRenderer() override;
  GdiTextRenderer(const GdiTextRenderer&) = delete;
  GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

  Size Measure(const FontSpec& font, std::u16string_view text) override;
  void DrawLine(Surface& layer, const FontSpec& font, Color color, const Rect& box,
                std::u16string_view text, bool clip) override;

 private:
  // The font for `wanted`, made on first use and kept; null when GDI refuses it.
  HFONT FontFor(const FontSpec& wanted);

  HDC measuring_dc_ = nullptr;
  std::vector<std::pair<FontSpec, HFONT>> fonts_;
};

}  // namespace qv::ui::win32
