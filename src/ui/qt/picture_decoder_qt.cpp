// DecodePicture with Qt's image readers.
#include <QImage>
#include <cstdint>

#include "ui/core/picture_decoder.h"
#include "ui/qt/surface_image.h"

namespace qv::ui {
namespace {

// The reader for the bytes' signature: naming it spares loading every image format plug-in to
// find it (the pictures are PNG or JPEG); null lets Qt find it.
const char* FormatOf(std::span<const std::byte> bytes) {
  static constexpr unsigned char kPng[] = {0x89, 'P', 'N', 'G'};
  static constexpr unsigned char kJpeg[] = {0xFF, 0xD8, 0xFF};
  auto starts_with = [bytes](const unsigned char* signature, size_t size) {
    if (bytes.size() < size) return false;
    for (size_t i = 0; i < size; ++i) {
      if (static_cast<unsigned char>(bytes[i]) != signature[i]) return false;
    }
    return true;
  };
  if (starts_with(kPng, sizeof kPng)) return "PNG";
  if (starts_with(kJpeg, sizeof kJpeg)) return "JPG";
  return nullptr;
}

}  // namespace

Surface DecodePicture(std::span<const std::byte> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT32_MAX)) return Surface();
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(bytes.size()), FormatOf(bytes))) {
    return Surface();
  }
  return FromQImage(image);
}

}  // namespace qv::ui
