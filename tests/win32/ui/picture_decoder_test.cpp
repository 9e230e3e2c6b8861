// DecodePicture through the GDI+ flat interface: PNG and JPEG into premultiplied surfaces, and
// a null surface for everything that is not a whole picture of a bounded size.
#include "ui/core/picture_decoder.h"

#include <gtest/gtest.h>

#include "ui/win32/gdiplus_api.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "png_fixtures.h"

namespace qv::ui {
namespace {

std::span<const std::byte> Bytes(const std::string& text) {
  return std::as_bytes(std::span<const char>(text.data(), text.size()));
}

bool Near(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
        2) {
      return false;
    }
  }
  return true;
}

// A width x height picture of one colour, encoded as JPEG by the system's own encoder.
std::string SystemJpeg(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  using namespace Gdiplus::DllExports;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height,
                               0xFF000000u | (red << 16) | (green << 8) | blue);
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                reinterpret_cast<BYTE*>(pixels.data()), &bitmap) != Gdiplus::Ok) {
    return {};
  }
  // The JPEG encoder's class id.
  const CLSID jpeg{0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  IStream* stream = nullptr;
  std::string bytes;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK) {
    if (GdipSaveImageToStream(bitmap, stream, &jpeg, nullptr) == Gdiplus::Ok) {
      HGLOBAL memory = nullptr;
      STATSTG stat{};
      if (GetHGlobalFromStream(stream, &memory) == S_OK &&
          stream->Stat(&stat, STATFLAG_NONAME) == S_OK) {
        const void* data = GlobalLock(memory);
        bytes.assign(static_cast<const char*>(data), static_cast<size_t>(stat.cbSize.QuadPart));
        GlobalUnlock(memory);
      }
    }
    stream->Release();
  }
  GdipDisposeImage(bitmap);
  return bytes;
}

class PictureDecoderTest : public ::testing::Test {};

TEST_F(PictureDecoderTest, PngWithAlphaBecomesPremultipliedPixelsRowsTopDown) {
  const auto picture = test::GradientPicture(40, 30, [](uint32_t x, uint32_t y) {
    return x < 10 ? 0u : (x + 7 * y) % 256;
  });
  const Surface surface = DecodePicture(Bytes(test::EncodePng(picture)));
  ASSERT_EQ(surface.GetSize(), (Size{40, 30}));
  const Surface expected = Surface::FromStraightRgba(40, 30, picture.pixels.data(),
                                                     picture.pixels.size());
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      ASSERT_TRUE(Near(surface.PixelAt(x, y), expected.PixelAt(x, y)))
          << x << "," << y << ": " << std::hex << surface.PixelAt(x, y) << " against "
          << expected.PixelAt(x, y);
    }
  }
  EXPECT_EQ(surface.PixelAt(3, 3), 0u);  // transparent stays all zero
}

TEST_F(PictureDecoderTest, JpegBecomesAnOpaqueSurface) {
  const std::string jpeg = SystemJpeg(24, 16, 240, 20, 200);
  ASSERT_FALSE(jpeg.empty());
  const Surface surface = DecodePicture(Bytes(jpeg));
  ASSERT_EQ(surface.GetSize(), (Size{24, 16}));
  EXPECT_TRUE(Near(surface.PixelAt(12, 8), PremultipliedPixel(255, 240, 20, 200)) ||
              // JPEG is lossy: allow its usual error on a flat colour
              (PixelAlpha(surface.PixelAt(12, 8)) == 255 &&
               std::abs(static_cast<int>(PixelRed(surface.PixelAt(12, 8))) - 240) < 8))
      << std::hex << surface.PixelAt(12, 8);
  EXPECT_EQ(PixelAlpha(surface.PixelAt(0, 0)), 255u);
}

TEST_F(PictureDecoderTest, WhatIsNotAWholeBoundedPictureGivesANullSurface) {
  const std::string png = test::EncodePng(test::GradientPicture(64, 64, [](uint32_t, uint32_t) {
    return 255u;
  }));
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"nothing", ""},
      {"text", "this is not a picture at all"},
      {"the PNG signature alone", png.substr(0, 8)},
      {"a PNG cut inside its header", png.substr(0, 20)},
      {"a PNG cut inside its image data", png.substr(0, png.size() / 2)},
      {"a declared size beyond the surface limit", test::PngHeaderOnly(Surface::kMaxSide + 1, 4)},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(DecodePicture(Bytes(c.bytes)).IsNull()) << c.what;
  }
}

}  // namespace
}  // namespace qv::ui
