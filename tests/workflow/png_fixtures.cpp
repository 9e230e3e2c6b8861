#include "png_fixtures.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <stdexcept>

namespace qv::test {
namespace {

void AppendBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void AppendChunk(std::string& out, std::string_view type, std::string_view data) {
  AppendBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string body = std::string(type) + std::string(data);
  out += body;
  AppendBigEndian(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                   static_cast<uInt>(body.size()))));
}

}  // namespace

std::string EncodePng(const workflow::RgbaImage& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.pixels.data(), 0, nullptr)) {
    throw std::runtime_error("png size");
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, picture.pixels.data(), 0, nullptr)) {
    throw std::runtime_error(image.message);
  }
  out.resize(size);
  png_image_free(&image);
  return out;
}

std::string PngHeaderOnly(uint32_t width, uint32_t height) {
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  AppendBigEndian(header, width);
  AppendBigEndian(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, no interlace
  AppendChunk(out, "IHDR", header);
  AppendChunk(out, "IDAT", "");
  AppendChunk(out, "IEND", "");
  return out;
}

}  // namespace qv::test
