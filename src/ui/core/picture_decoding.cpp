#include "ui/core/picture_decoding.h"

#include <string_view>
#include <system_error>
#include <utility>

#include "platform/resources.h"
#include "ui/core/picture_loading.h"
#include "workflow/shortcuts/png_decoder.h"

namespace qv::ui {
namespace {

// Null when the program's decoder refuses the resource.
Surface DecodeWithOwnDecoder(int id) {
  const auto bytes = platform::FindResource(id);
  workflow::RgbaImage rgba;
  if (bytes.empty() ||
      workflow::DecodePng(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                           bytes.size()),
                          rgba) != workflow::PngDecodeStatus::kOk) {
    return Surface();
  }
  return Surface::FromStraightRgba(static_cast<int>(rgba.width), static_cast<int>(rgba.height),
                                   rgba.pixels.data(), rgba.pixels.size());
}

}  // namespace

PictureDecoding::PictureDecoding(int id) : id_(id) {
  try {
    decoding_ = std::thread([this] { picture_ = DecodeWithOwnDecoder(id_); });
  } catch (const std::system_error&) {
    // No thread to be had: Take decodes.
  }
}

PictureDecoding::~PictureDecoding() {
  if (decoding_.joinable()) decoding_.join();
}

Surface PictureDecoding::Take() {
  if (taken_) return Surface();
  taken_ = true;
  if (decoding_.joinable()) decoding_.join();
  if (picture_.IsNull()) return LoadPictureFromResource(id_);
  return std::exchange(picture_, Surface());
}

}  // namespace qv::ui
