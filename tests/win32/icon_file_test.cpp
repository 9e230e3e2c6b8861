// The icon files the shortcuts' icon writer makes, read back by the system's own icon loader:
// the picture it shows is the one written, pixel for pixel, with its transparency mask.
#include "workflow/shortcuts/b_icon.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <cstdint>
#include <vector>

#include "platform/win32/wide_text.h"
#include "png_fixtures.h"
#include "util/text_conversion.h"
#include "windows_temp_folder.h"

namespace qv::workflow {
namespace {

// The bitmap's pixels top-down, 4 bytes each (blue, green, red, and alpha or 0).
std::vector<uint8_t> PixelsOf(HBITMAP bitmap, uint32_t width, uint32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> pixels(size_t{width} * height * 4);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != static_cast<int>(height)) pixels.clear();
  return pixels;
}

using IconFileTest = test::WindowsTempFolderTest;

TEST_F(IconFileTest, TheSystemLoadsThePictureAndItsMaskBack) {
  struct Case {
    const char* what;
    RgbaImage picture;
    bool with_alpha;  // a 32-bit image; else 24 bits, whose alpha the system does not keep
  };
  const auto partial = [](uint32_t x, uint32_t y) { return (x + y) % 3 == 0 ? 0 : 128 + x; };
  const auto clear = [](uint32_t, uint32_t) { return 0; };
  const auto opaque = [](uint32_t, uint32_t) { return 255; };
  const Case cases[] = {
      {"48 x 48, partly transparent", test::GradientPicture(48, 48, partial), true},
      {"256 x 256", test::GradientPicture(256, 256, partial), true},
      {"all alpha zero", test::GradientPicture(5, 3, clear), false},
      {"opaque, mask row over 32 pixels", test::GradientPicture(33, 2, opaque), true},
  };
  int file = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CBIcon icon;
    ASSERT_TRUE(icon.LoadFromIconHandle(MakeIconHandle(c.picture)));
    const std::string path = root_.Path("icon-" + std::to_string(file++) + ".ico");
    ASSERT_TRUE(icon.WriteIconFile(util::Utf8ToWide(path)));

    HICON loaded = static_cast<HICON>(LoadImageW(nullptr, platform::win32::Wide(path).c_str(),
                                                 IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(loaded, nullptr);
    ICONINFO parts{};
    ASSERT_TRUE(GetIconInfo(loaded, &parts));
    const uint32_t width = c.picture.width;
    const uint32_t height = c.picture.height;
    const std::vector<uint8_t> colour = PixelsOf(parts.hbmColor, width, height);
    const std::vector<uint8_t> mask = PixelsOf(parts.hbmMask, width, height);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(loaded);
    ASSERT_EQ(colour.size(), c.picture.pixels.size());
    ASSERT_EQ(mask.size(), c.picture.pixels.size());

    size_t wrong_colours = 0;
    size_t wrong_masks = 0;
    for (size_t i = 0; i < c.picture.pixels.size(); i += 4) {
      const uint8_t* rgba = &c.picture.pixels[i];
      const bool same = colour[i] == rgba[2] && colour[i + 1] == rgba[1] &&
                        colour[i + 2] == rgba[0] && (!c.with_alpha || colour[i + 3] == rgba[3]);
      if (!same) ++wrong_colours;
      // The mask is white (set) where the picture is fully transparent.
      if ((mask[i] != 0) != (rgba[3] == 0)) ++wrong_masks;
    }
    EXPECT_EQ(wrong_colours, 0u);
    EXPECT_EQ(wrong_masks, 0u);
  }
}

}  // namespace
}  // namespace qv::workflow
