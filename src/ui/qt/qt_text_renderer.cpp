#include "ui/qt/qt_text_renderer.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include "ui/qt/qt_text.h"
#include "ui/qt/surface_image.h"

namespace qv::ui {
namespace {

constexpr int kOneLine = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;

}  // namespace

QFont ToQFont(const FontSpec& spec) {
  QFont font(ToQString(spec.face));
  font.setPixelSize(spec.pixels);
  font.setWeight(QFont::Normal);
  font.setItalic(spec.italic);
  font.setUnderline(spec.underline);
  return font;
}

const QFontMetrics& QtTextRenderer::MetricsFor(const FontSpec& font) {
  if (!metrics_ || font != measured_font_) {
    metrics_.emplace(ToQFont(font));
    measured_font_ = font;
  }
  return *metrics_;
}

Size QtTextRenderer::Measure(const FontSpec& font, std::u16string_view text) {
  const QFontMetrics& metrics = MetricsFor(font);
  return Size{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

void QtTextRenderer::DrawLine(Surface& layer, const FontSpec& font, Color color, const Rect& box,
                              std::u16string_view text, bool clip) {
  QImage image = WrapSurface(layer);
  if (image.isNull() || text.empty()) return;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(ToQFont(font));
  painter.setPen(QColor(color.red, color.green, color.blue));
  if (clip) {
    painter.drawText(QRect(box.left, box.top, box.width, box.height), kOneLine, ToQString(text));
  } else {
    painter.drawText(QRect(box.left, box.top, 1, 1), kOneLine | Qt::TextDontClip,
                     ToQString(text));
  }
}

}  // namespace qv::ui
