#include "ui/picture_decoding.h"

#include <string_view>
#include <system_error>
#include <utility>

#include "platform/resources.h"
#include "ui/image_loader.h"
#include "workflow/shortcuts/png_decoder.h"

namespace qv::ui {
namespace {

// Null when the program's decoder refuses the resource.
QImage DecodeWithoutQtCodecs(int id) {
  const auto bytes = platform::FindResource(id);
  workflow::RgbaImage rgba;
  if (bytes.empty() ||
      workflow::DecodePng(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                           bytes.size()),
                          rgba) != workflow::PngDecodeStatus::kOk) {
    return QImage();
  }
  const QImage wrapped(rgba.pixels.data(), static_cast<int>(rgba.width),
                       static_cast<int>(rgba.height), static_cast<qsizetype>(rgba.width) * 4,
                       QImage::Format_RGBA8888);
  return wrapped.convertToFormat(QImage::Format_ARGB32_Premultiplied);  // a copy of its own
}

}  // namespace

PictureDecoding::PictureDecoding(int id) : id_(id) {
  try {
    decoding_ = std::thread([this] { image_ = DecodeWithoutQtCodecs(id_); });
  } catch (const std::system_error&) {
    // No thread to be had: Take decodes.
  }
}

PictureDecoding::~PictureDecoding() {
  if (decoding_.joinable()) decoding_.join();
}

QImage PictureDecoding::Take() {
  if (taken_) return QImage();
  taken_ = true;
  if (decoding_.joinable()) decoding_.join();
  if (image_.isNull()) return LoadImageFromResource(id_);
  return std::exchange(image_, QImage());
}

}  // namespace qv::ui
