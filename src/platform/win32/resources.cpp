// FindResource over the program's own Win32 resources (written by
// tools/embed-resources/write_resource_script.py): a file is a resource of the type "Binary"
// under its id; an icon is an ICON resource, and what it gives is the PNG file it was made from,
// which is the icon's image exactly as stored (a PNG-compressed icon image).
#include "platform/resources.h"

#include "platform/win32/windows_api.h"

#include <cstdint>
#include <cstring>

namespace qv::platform {
namespace {

constexpr wchar_t kBinaryType[] = L"Binary";
constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The icon group's layout (GRPICONDIR): three 16-bit fields, then per image 14 bytes whose last
// 16-bit field is the id of the image's own ICON entry.
constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;

// The bytes of the resource `name` of `type` in the program's own file; empty when it has none.
std::span<const unsigned char> ModuleResource(const wchar_t* name, const wchar_t* type) {
  HRSRC found = FindResourceW(nullptr, name, type);
  if (found == nullptr) return {};
  const DWORD size = SizeofResource(nullptr, found);
  HGLOBAL loaded = LoadResource(nullptr, found);
  const void* bytes = loaded == nullptr ? nullptr : LockResource(loaded);
  if (bytes == nullptr || size == 0) return {};
  return {static_cast<const unsigned char*>(bytes), size};
}

std::uint16_t ReadU16(const unsigned char* at) {
  std::uint16_t value;
  std::memcpy(&value, at, sizeof value);  // little-endian, as the file is
  return value;
}

// The PNG image of icon group `id`: its largest image, when that image is a PNG.
std::span<const unsigned char> IconPng(int id) {
  const auto group = ModuleResource(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  if (group.size() < kGroupHeaderSize) return {};
  const std::size_t count = ReadU16(group.data() + 4);
  if (group.size() < kGroupHeaderSize + count * kGroupEntrySize) return {};
  int largest_side = 0;
  std::uint16_t image_id = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char* entry = group.data() + kGroupHeaderSize + i * kGroupEntrySize;
    const int side = entry[0] == 0 ? 256 : entry[0];  // a width of 256 is written as 0
    if (side > largest_side) {
      largest_side = side;
      image_id = ReadU16(entry + 12);
    }
  }
  if (image_id == 0) return {};
  const auto image = ModuleResource(MAKEINTRESOURCEW(image_id), MAKEINTRESOURCEW(3) /* RT_ICON */);
  if (image.size() < sizeof kPngSignature ||
      std::memcmp(image.data(), kPngSignature, sizeof kPngSignature) != 0) {
    return {};  // a bitmap image: there is no PNG file to give
  }
  return image;
}

}  // namespace

std::span<const unsigned char> FindResource(int id) {
  // A resource id is 16 bits and never 0; MAKEINTRESOURCE would cut any other number to one.
  if (id < 1 || id > 0xFFFF) return {};
  if (const auto bytes = ModuleResource(MAKEINTRESOURCEW(id), kBinaryType); !bytes.empty()) {
    return bytes;
  }
  return IconPng(id);
}

}  // namespace qv::platform
