#include "ui/image_loader.h"

#include <QByteArray>
#include <QString>
#include <string>

#include "platform/atomic_file.h"
#include "platform/path_resolution.h"
#include "platform/resources.h"
#include "util/text_conversion.h"

namespace qv::ui {
namespace {

// `format` null: found from the bytes, which loads every image format plug-in the first time.
QImage Decode(const unsigned char* bytes, size_t size, const char* format = nullptr) {
  QImage image;
  if (size == 0 || size > static_cast<size_t>(INT32_MAX)) return image;
  if (!image.loadFromData(bytes, static_cast<int>(size), format)) return QImage();
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QImage LoadImageFromResource(int id) {
  const auto bytes = platform::FindResource(id);
  return Decode(bytes.data(), bytes.size(), "PNG");
}

const QImage& ResourcePicture::Get() {
  if (!decoded_) {
    image_ = LoadImageFromResource(id_);
    decoded_ = true;
  }
  return image_;
}

QImage LoadImageFromFile(std::u16string_view path) {
  const auto resolved = platform::ResolveExistingPath(util::WideToUtf8(path));
  if (!resolved) return QImage();
  std::string bytes;
  if (platform::ReadWholeFile(*resolved, bytes)) return QImage();
  return Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace qv::ui
