// The game shortcut's icon: an icon file converted once from the game's PNG picture.
// Runs on the installing task's thread; no shared state.
#pragma once

#include <string>

namespace qv::workflow {

// Decodes the PNG at `png_path` and saves its icon file at `icon_path` (whole or not at all).
// False, with nothing written, for a missing or unreadable file, bytes that are not a PNG, a
// damaged picture or one larger than kMaxPictureSide.
bool ConvertPngToIcon(const std::u16string& png_path, const std::u16string& icon_path);

// The icon for a shortcut from the picture at `png_path`:
// - empty text when the picture is not an existing file (the shortcut gets no icon of its own);
// - the path unchanged when it does not contain ".png";
// - else the path with its last ".png" replaced by ".ico". An existing file of that name is reused
//   as it is (an icon is made once, even if the picture changes later); otherwise the picture is
//   converted into it. The icon path is returned even when the conversion failed, so the
//   shortcut names the icon a later run may still make.
std::u16string MakeIconFromPng(const std::u16string& png_path);

}  // namespace qv::workflow
