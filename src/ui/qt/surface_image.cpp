#include "ui/qt/surface_image.h"

#include <cstring>

namespace qv::ui {

QImage WrapSurface(Surface& surface) {
  if (surface.IsNull()) return QImage();
  return QImage(reinterpret_cast<uchar*>(surface.Pixels()), surface.width(), surface.height(),
                static_cast<qsizetype>(surface.width()) * 4, QImage::Format_ARGB32_Premultiplied);
}

QImage ToQImage(const Surface& surface) {
  if (surface.IsNull()) return QImage();
  const QImage wrapped(reinterpret_cast<const uchar*>(surface.Pixels()), surface.width(),
                       surface.height(), static_cast<qsizetype>(surface.width()) * 4,
                       QImage::Format_ARGB32_Premultiplied);
  return wrapped.copy();
}

Surface FromQImage(const QImage& image) {
  if (image.isNull()) return Surface();
  const QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  Surface surface(premultiplied.width(), premultiplied.height());
  if (surface.IsNull()) return surface;
  const size_t row_bytes = static_cast<size_t>(surface.width()) * 4;
  for (int y = 0; y < surface.height(); ++y) {
    std::memcpy(surface.Row(y), premultiplied.constScanLine(y), row_bytes);
  }
  return surface;
}

}  // namespace qv::ui
