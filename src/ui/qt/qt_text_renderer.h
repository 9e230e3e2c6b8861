// QtTextRenderer: the views' text measured and set by Qt. Fonts are asked for by face name and
// pixel height; fontconfig substitutes an installed face for one that is missing (the windows'
// face is not installed on most Linux desktops). Glyphs are set anti-aliased by a QPainter on a
// QImage over the text layer's own memory.
//
// Threads: the UI thread (QFont and QFontMetrics are used). Owned by the window that renders.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <optional>

#include "ui/core/text_renderer.h"

namespace qv::ui {

// The QFont `spec` asks for.
QFont ToQFont(const FontSpec& spec);

class QtTextRenderer final : public TextRenderer {
 public:
  Size Measure(const FontSpec& font, std::u16string_view text) override;
  void DrawLine(Surface& layer, const FontSpec& font, Color color, const Rect& box,
                std::u16string_view text, bool clip) override;

 private:
  // The metrics of the font last measured with: a wrap measures many pieces in one font.
  const QFontMetrics& MetricsFor(const FontSpec& font);

  FontSpec measured_font_;
  std::optional<QFontMetrics> metrics_;
};

}  // namespace qv::ui
