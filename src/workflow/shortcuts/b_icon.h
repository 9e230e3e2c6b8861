// CBIcon: an icon held in memory in icon-file form, and the icon file written from it.
//
// It holds the file header with one directory entry and that entry's image block (bitmap
// information header, palette, colour bits, mask bits), filled from an icon handle. The file is
// laid out as follows (little-endian):
//   0  reserved 0, type 1, image count 1 (three 16-bit fields)
//   6  width and height, low 8 bits each (so 256 is stored as 0); colour count (2 for 1-bit, 16
//      for 4-bit, else 0); reserved 0; planes; bits per pixel; image size; image offset 22
//  22  bitmap information header (40 bytes: the height stored doubled for colour plus mask,
//      compression 0, image data size = height x colour row size, the remaining fields 0),
//      palette, colour rows bottom-up, mask rows bottom-up (1 bit per pixel, most significant bit
//      first). A row is padded to a multiple of 4 bytes.
// Image size = 40 + palette entries x 4 + height x colour row size + height x mask row size; the
// file is 22 + image size bytes long.
//
// Depth: a colour bitmap with any alpha byte not zero stays 32-bit; one whose alpha bytes are
// all zero is stored in the display's depth, which is 24 bits here. Used on one thread at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "workflow/shortcuts/icon_handle.h"

namespace qv::workflow {

inline constexpr uint32_t kIconFileHeaderSize = 6;
inline constexpr uint32_t kIconDirectoryEntrySize = 16;
inline constexpr uint32_t kBitmapInfoHeaderSize = 40;

class CBIcon {
 public:
  CBIcon() = default;
  virtual ~CBIcon() = default;
  CBIcon(const CBIcon&) = delete;
  CBIcon& operator=(const CBIcon&) = delete;

  // Replaces the content with the single image of `icon`. False (and empty) when the icon has no
  // pixels or its bitmaps do not match its size.
  bool LoadFromIconHandle(const IconHandle& icon);

  // The icon file's bytes; empty when nothing is loaded.
  std::string FileBytes() const;

  // Saves the icon file whole or not at all; false when nothing is loaded or the save failed.
  bool WriteIconFile(const std::u16string& path) const;

 private:
  struct DirectoryEntry {
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t colour_count = 0;
    uint16_t planes = 1;
    uint16_t bits_per_pixel = 0;
    uint32_t image_size = 0;
  };
  struct Image {
    DirectoryEntry entry;
    std::string block;  // image_size bytes
  };
  std::optional<Image> image_;
};

}  // namespace qv::workflow
