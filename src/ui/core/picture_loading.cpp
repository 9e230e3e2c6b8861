#include "ui/core/picture_loading.h"

#include <span>
#include <string>

#include "platform/atomic_file.h"
#include "platform/path_resolution.h"
#include "platform/resources.h"
#include "ui/core/picture_decoder.h"
#include "util/text_conversion.h"

namespace qv::ui {

Surface LoadPictureFromResource(int id) {
  const auto bytes = platform::FindResource(id);
  if (bytes.empty()) return Surface();
  return DecodePicture(std::as_bytes(std::span(bytes.data(), bytes.size())));
}

Surface LoadPictureFromFile(std::u16string_view path) {
  const auto resolved = platform::ResolveExistingPath(util::WideToUtf8(path));
  if (!resolved) return Surface();
  std::string bytes;
  if (platform::ReadWholeFile(*resolved, bytes)) return Surface();
  return DecodePicture(std::as_bytes(std::span(bytes.data(), bytes.size())));
}

const Surface& ResourcePicture::Get() {
  if (!decoded_) {
    picture_ = LoadPictureFromResource(id_);
    decoded_ = true;
  }
  return picture_;
}

}  // namespace qv::ui
