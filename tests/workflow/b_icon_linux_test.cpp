// The icon file's layout field by field, as an independent reader on Linux (read_icon.py, run
// with Python) finds it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "png_fixtures.h"
#include "run_command.h"
#include "temp_root.h"
#include "util/text_conversion.h"
#include "workflow/shortcuts/b_icon.h"

namespace qv::workflow {
namespace {

// The fields read_icon.py (an independent reader) finds in an icon file.
std::map<std::string, std::string> ReadIcon(const std::string& path) {
  const test::CommandResult result = test::RunCommand({"python3", QV_ICON_READER_PATH, path});
  EXPECT_EQ(result.exit_code, 0) << result.output;
  std::map<std::string, std::string> fields;
  std::istringstream lines(result.output);
  for (std::string line; std::getline(lines, line);) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return fields;
}

// The colour bytes the file must hold for `picture`, top-down, in hex.
std::string ExpectedColourHex(const RgbaImage& picture, int bytes_per_pixel) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < picture.pixels.size(); i += 4) {
    const uint8_t bgra[4] = {picture.pixels[i + 2], picture.pixels[i + 1], picture.pixels[i],
                             picture.pixels[i + 3]};
    for (int b = 0; b < bytes_per_pixel; ++b) {
      hex += kDigits[bgra[b] >> 4];
      hex += kDigits[bgra[b] & 15];
    }
  }
  return hex;
}

std::string ExpectedMask(const RgbaImage& picture) {
  std::string mask;
  for (size_t i = 3; i < picture.pixels.size(); i += 4) mask += picture.pixels[i] == 0 ? '1' : '0';
  return mask;
}

class CBIconLayoutTest : public test::TempRootTest {};

TEST_F(CBIconLayoutTest, IconFilesAreLaidOutFieldByField) {
  struct Case {
    const char* what;
    RgbaImage picture;
    uint32_t bits_per_pixel;
    uint32_t colour_row;
    uint32_t mask_row;
    uint32_t size_byte;
  };
  const auto partial = [](uint32_t x, uint32_t y) { return (x + y) % 3 == 0 ? 0 : 128 + x; };
  const auto clear = [](uint32_t, uint32_t) { return 0; };
  const auto opaque = [](uint32_t, uint32_t) { return 255; };
  const Case cases[] = {
      {"48 x 48, partly transparent", test::GradientPicture(48, 48, partial), 32, 48 * 4, 8, 48},
      {"256 x 256 stores 0 in the size bytes", test::GradientPicture(256, 256, partial), 32,
       256 * 4, 32, 0},
      {"all alpha zero: display depth, rows padded", test::GradientPicture(5, 3, clear), 24, 16, 4,
       5},
      {"opaque, mask row over 32 pixels", test::GradientPicture(33, 2, opaque), 32, 33 * 4, 8, 33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CBIcon icon;
    ASSERT_TRUE(icon.LoadFromIconHandle(MakeIconHandle(c.picture)));
    const std::string path = root_.Path("icon.ico");
    ASSERT_TRUE(icon.WriteIconFile(util::Utf8ToWide(path)));

    const uint32_t height = c.picture.height;
    const uint32_t image_size = 40 + height * c.colour_row + height * c.mask_row;
    std::map<std::string, std::string> fields = ReadIcon(path);
    const std::map<std::string, std::string> expected = {
        {"reserved", "0"},
        {"type", "1"},
        {"count", "1"},
        {"width_byte", std::to_string(c.size_byte)},
        {"height_byte", std::to_string(height == 256 ? 0 : height)},
        {"colours", "0"},
        {"reserved2", "0"},
        {"planes", "1"},
        {"bpp", std::to_string(c.bits_per_pixel)},
        {"size", std::to_string(image_size)},
        {"offset", "22"},
        {"file_size", std::to_string(22 + image_size)},
        {"bih_size", "40"},
        {"bih_width", std::to_string(c.picture.width)},
        {"bih_height", std::to_string(height * 2)},
        {"bih_planes", "1"},
        {"bih_bpp", std::to_string(c.bits_per_pixel)},
        {"compression", "0"},
        {"image_bytes", std::to_string(height * c.colour_row)},
        {"rest", "0"},
        {"colour", ExpectedColourHex(c.picture, static_cast<int>(c.bits_per_pixel / 8))},
        {"mask", ExpectedMask(c.picture)},
    };
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(test::ReadFileBytes(path), icon.FileBytes());
  }
}

}  // namespace
}  // namespace qv::workflow
