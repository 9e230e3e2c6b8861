#include "workflow/shortcuts/b_icon.h"

#include <limits>

#include "platform/atomic_file.h"
#include "util/file_paths.h"
#include "workflow/shortcuts/little_endian.h"

namespace qv::workflow {
namespace {

constexpr uint16_t kIconType = 1;
constexpr uint16_t kImageCount = 1;
constexpr uint32_t kImageOffset = kIconFileHeaderSize + kIconDirectoryEntrySize;
constexpr uint16_t kPlanes = 1;
constexpr uint32_t kCompressionNone = 0;
constexpr uint16_t kAlphaDepth = 32;
// The display's depth (planes x bits per pixel) is 24 on this platform; above 8 bits an icon
// without alpha is stored with 24 bits per pixel.
constexpr uint16_t kDisplayDepth = 24;
constexpr uint16_t kMaskDepth = 1;

uint64_t RowSize(uint64_t bits_per_pixel, uint64_t width) {
  return (bits_per_pixel * width + 31) / 32 * 4;
}

uint32_t PaletteEntries(uint16_t bits_per_pixel) {
  return bits_per_pixel <= 8 ? 1u << bits_per_pixel : 0;
}

uint8_t ColourCount(uint16_t bits_per_pixel) {
  // 256 colours do not fit the byte and are stored as 0.
  return bits_per_pixel == 1 || bits_per_pixel == 4 ? static_cast<uint8_t>(1u << bits_per_pixel)
                                                    : 0;
}

bool AnyAlpha(const IconHandle& icon) {
  for (size_t i = 3; i < icon.colour.size(); i += 4) {
    if (icon.colour[i] != 0) return true;
  }
  return false;
}

}  // namespace

bool CBIcon::LoadFromIconHandle(const IconHandle& icon) {
  image_.reset();
  const uint64_t pixels = uint64_t{icon.width} * icon.height;
  if (pixels == 0 || icon.colour.size() != pixels * 4 || icon.mask.size() != pixels) return false;

  const uint16_t depth = AnyAlpha(icon) ? kAlphaDepth : kDisplayDepth;
  const uint64_t colour_row = RowSize(depth, icon.width);
  const uint64_t mask_row = RowSize(kMaskDepth, icon.width);
  const uint64_t image_size = kBitmapInfoHeaderSize + uint64_t{PaletteEntries(depth)} * 4 +
                              icon.height * colour_row + icon.height * mask_row;
  if (image_size > std::numeric_limits<uint32_t>::max() ||
      uint64_t{icon.height} * 2 > std::numeric_limits<int32_t>::max()) {
    return false;
  }

  Image image;
  image.entry.width = static_cast<uint8_t>(icon.width & 0xFF);
  image.entry.height = static_cast<uint8_t>(icon.height & 0xFF);
  image.entry.colour_count = ColourCount(depth);
  image.entry.planes = kPlanes;
  image.entry.bits_per_pixel = depth;
  image.entry.image_size = static_cast<uint32_t>(image_size);

  std::string& block = image.block;
  block.reserve(image_size);
  AppendU32(block, kBitmapInfoHeaderSize);
  AppendU32(block, icon.width);
  AppendU32(block, icon.height * 2);  // colour plus mask
  AppendU16(block, kPlanes);
  AppendU16(block, depth);
  AppendU32(block, kCompressionNone);
  AppendU32(block, static_cast<uint32_t>(icon.height * colour_row));
  block.append(kBitmapInfoHeaderSize - block.size(), '\0');

  const size_t bytes_per_pixel = depth / 8;
  for (uint32_t row = icon.height; row-- > 0;) {
    const size_t row_start = block.size();
    for (uint32_t x = 0; x < icon.width; ++x) {
      const uint8_t* bgra = &icon.colour[(size_t{row} * icon.width + x) * 4];
      block.append(reinterpret_cast<const char*>(bgra), bytes_per_pixel);
    }
    block.resize(row_start + colour_row, '\0');
  }
  for (uint32_t row = icon.height; row-- > 0;) {
    std::string bits(mask_row, '\0');
    for (uint32_t x = 0; x < icon.width; ++x) {
      if (icon.mask[size_t{row} * icon.width + x]) {
        bits[x / 8] |= static_cast<char>(0x80 >> (x % 8));
      }
    }
    block += bits;
  }
  image_ = std::move(image);
  return true;
}

std::string CBIcon::FileBytes() const {
  if (!image_) return {};
  std::string out;
  AppendU16(out, 0);
  AppendU16(out, kIconType);
  AppendU16(out, kImageCount);
  const DirectoryEntry& entry = image_->entry;
  AppendU8(out, entry.width);
  AppendU8(out, entry.height);
  AppendU8(out, entry.colour_count);
  AppendU8(out, 0);
  AppendU16(out, entry.planes);
  AppendU16(out, entry.bits_per_pixel);
  AppendU32(out, entry.image_size);
  AppendU32(out, kImageOffset);
  out += image_->block;
  return out;
}

bool CBIcon::WriteIconFile(const std::u16string& path) const {
  if (!image_) return false;
  return !platform::WriteFileAtomically(util::ToPlatformPath(path), FileBytes());
}

}  // namespace qv::workflow
