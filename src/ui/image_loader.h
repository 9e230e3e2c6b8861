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

// The picture file at `path` (found as the platform finds files, letter case aside); null when
// it is missing or does not decode.
QImage LoadImageFromFile(std::u16string_view path);

}  // namespace qv::ui
