// Pictures from the program's resources and from files, decoded by Qt (PNG and JPEG).
//
// Every picture comes back as a QImage in ARGB32 premultiplied, the surfaces' format; a null
// QImage stands for "no picture" and callers draw nothing in its place. Any thread (QImage is
// not a GUI-thread object).
#pragma once

#include <QImage>
#include <string_view>

namespace qv::ui {

// Picture resource `id` (platform::FindResource, always PNG); null when there is no such
// resource or its bytes do not decode as PNG.
QImage LoadImageFromResource(int id);

// Picture resource `id`, decoded the first time it is asked for: a picture the first frame does
// not show (a hover state, the default header) costs nothing at start-up. Decoded once, also
// when it is missing (then null). UI thread, as the window that holds it.
class ResourcePicture {
 public:
  explicit ResourcePicture(int id) : id_(id) {}
  const QImage& Get();

 private:
  const int id_;
  bool decoded_ = false;
  QImage image_;
};

// The picture file at `path` (found as the platform finds files, letter case aside); null when
// it is missing or does not decode.
QImage LoadImageFromFile(std::u16string_view path);

}  // namespace qv::ui
