#include "workflow/shortcuts/shortcut_icon.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "png_fixtures.h"
#include "temp_root.h"
#include "util/text_conversion.h"
#include "workflow/shortcuts/b_icon.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

class ShortcutIconTest : public test::TempRootTest {
 protected:
  std::u16string W(std::string_view relative) { return util::Utf8ToWide(root_.Path(relative)); }
  static RgbaImage Picture() {
    return test::GradientPicture(48, 48, [](uint32_t x, uint32_t) { return x < 24 ? 0 : 200; });
  }
  // Every file name in the folder, side files included.
  std::vector<std::string> FilesIn(std::string_view relative) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_.Path(relative))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(ShortcutIconTest, PictureIsConvertedOnceAndTheIconReused) {
  root_.WriteFile("gamebag/1001/icon.png", test::EncodePng(Picture()));
  const std::u16string icon_path = MakeIconFromPng(W("gamebag/1001/icon.png"));
  EXPECT_EQ(icon_path, W("gamebag/1001/icon.ico"));

  CBIcon expected;
  ASSERT_TRUE(expected.LoadFromIconHandle(MakeIconHandle(Picture())));
  EXPECT_EQ(test::ReadFileBytes(root_.Path("gamebag/1001/icon.ico")), expected.FileBytes());

  // A later run with another picture keeps the icon made first.
  root_.WriteFile("gamebag/1001/icon.png", test::EncodePng(test::GradientPicture(
                                               16, 16, [](uint32_t, uint32_t) { return 255; })));
  EXPECT_EQ(MakeIconFromPng(W("gamebag/1001/icon.png")), icon_path);
  EXPECT_EQ(test::ReadFileBytes(root_.Path("gamebag/1001/icon.ico")), expected.FileBytes());
}

TEST_F(ShortcutIconTest, PathsThatGiveNoConversion) {
  root_.WriteFile("pictures/icon.bmp", "BM");
  fs::create_directories(root_.Path("pictures/folder.png"));
  EXPECT_EQ(MakeIconFromPng(W("pictures/missing.png")), u"");
  EXPECT_EQ(MakeIconFromPng(W("pictures/folder.png")), u"");
  EXPECT_EQ(MakeIconFromPng(u""), u"");
  EXPECT_EQ(MakeIconFromPng(W("pictures/icon.bmp")), W("pictures/icon.bmp"));
  EXPECT_EQ(FilesIn("pictures"), (std::vector<std::string>{"folder.png", "icon.bmp"}));
}

TEST_F(ShortcutIconTest, BadPictureGivesTheIconPathButNoFile) {
  const std::string good = test::EncodePng(Picture());
  const std::pair<const char*, std::string> pictures[] = {
      {"not a picture", "GIF89a and then some"},
      {"truncated", good.substr(0, good.size() - 40)},
      {"huge declared size", test::PngHeaderOnly(100000, 100000)},
  };
  for (const auto& [what, bytes] : pictures) {
    SCOPED_TRACE(what);
    root_.WriteFile("bad/icon.png", bytes);
    EXPECT_FALSE(ConvertPngToIcon(W("bad/icon.png"), W("bad/icon.ico")));
    // The shortcut still names the icon a later run may make.
    EXPECT_EQ(MakeIconFromPng(W("bad/icon.png")), W("bad/icon.ico"));
    EXPECT_EQ(FilesIn("bad"), std::vector<std::string>{"icon.png"});
  }
}

}  // namespace
}  // namespace qv::workflow
