// Pictures from the program's resources and from files, decoded by the backend's DecodePicture
// (PNG and JPEG). A null Surface stands for "no picture" and callers draw nothing in its place.
// Any thread, except ResourcePicture (the UI thread of the view that holds it).
#pragma once

#include <string_view>

#include "ui/core/surface.h"

namespace qv::ui {

// Picture resource `id` (platform::FindResource); null when there is no such resource or its
// bytes do not decode.
Surface LoadPictureFromResource(int id);

// The picture file at `path` (found as the platform finds files, letter case aside); null when
// it is missing, unreadable or does not decode.
Surface LoadPictureFromFile(std::u16string_view path);

// Picture resource `id`, decoded the first time it is asked for: a picture the first frame does
// not show (a hover state, the default header) costs nothing at start-up. Decoded once, also
// when it is missing (then null).
class ResourcePicture {
 public:
  explicit ResourcePicture(int id) : id_(id) {}
  const Surface& Get();

 private:
  const int id_;
  bool decoded_ = false;
  Surface picture_;
};

}  // namespace qv::ui
