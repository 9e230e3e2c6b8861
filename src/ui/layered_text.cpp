#include "ui/layered_text.h"

#include <algorithm>

namespace qv::ui {
namespace {

// Premultiplied source-over of one pixel.
QRgb Over(QRgb source, QRgb target) {
  const int rest = 255 - qAlpha(source);
  auto channel = [&](int s, int t) { return std::min(255, s + (t * rest + 127) / 255); };
  return qRgba(channel(qRed(source), qRed(target)), channel(qGreen(source), qGreen(target)),
               channel(qBlue(source), qBlue(target)), channel(qAlpha(source), qAlpha(target)));
}

// The text's colour added to a transparent pixel, whose alpha stays 0.
QRgb AddColour(QRgb source, QRgb target) {
  return qRgba(std::min(255, qRed(source) + qRed(target)),
               std::min(255, qGreen(source) + qGreen(target)),
               std::min(255, qBlue(source) + qBlue(target)), 0);
}

}  // namespace

void MergeTextLayer(QImage& surface, const QImage& layer) {
  if (surface.size() != layer.size() || surface.format() != QImage::Format_ARGB32_Premultiplied ||
      layer.format() != QImage::Format_ARGB32_Premultiplied) {
    return;
  }
  const int width = surface.width();
  const int height = surface.height();
  for (int y = 0; y < height; ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(surface.scanLine(y));
    for (int x = 0; x < width; ++x) {
      if (from[x] == 0) continue;
      to[x] = qAlpha(to[x]) == 0 ? AddColour(from[x], to[x]) : Over(from[x], to[x]);
    }
  }
}

void DrawLayeredText(QImage& surface, const std::function<void(QPainter&)>& draw) {
  QImage layer(surface.size(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  {
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter);
  }
  MergeTextLayer(surface, layer);
}

}  // namespace qv::ui
