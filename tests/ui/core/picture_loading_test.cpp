#include "ui/core/picture_loading.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_root.h"
#include "ui/core/picture_ids.h"
#include "util/text_conversion.h"
#include "view_test_support.h"
#include "workflow/shortcuts/png_encoder.h"

namespace qv::ui::test {
namespace {

class PictureLoadingTest : public qv::test::TempRootTest {};

TEST_F(PictureLoadingTest, ResourcesDecodeIntoSurfacesAndAMissingOneIsNoPicture) {
  EXPECT_EQ(LoadPictureFromResource(kFramePicture).GetSize(), (Size{584, 410}));
  EXPECT_EQ(LoadPictureFromResource(kProgressBarPicture).GetSize(), (Size{20, 20}));
  EXPECT_TRUE(LoadPictureFromResource(9999).IsNull());
  // A resource that is no picture (a language table).
  EXPECT_TRUE(LoadPictureFromResource(140).IsNull());
}

TEST_F(PictureLoadingTest, ResourcePictureIsDecodedOnceWhenFirstAskedFor) {
  ResourcePicture banner(kDefaultHeaderPicture);
  const Surface& first = banner.Get();
  EXPECT_EQ(first.GetSize(), (Size{558, 205}));
  EXPECT_EQ(&banner.Get(), &first);
  ResourcePicture missing(9999);
  EXPECT_TRUE(missing.Get().IsNull());
}

TEST_F(PictureLoadingTest, FilesAreFoundWhateverTheCaseOfTheirNameAndOnlyPicturesDecode) {
  workflow::RgbaImage picture;
  picture.width = 7;
  picture.height = 5;
  for (int i = 0; i < 7 * 5; ++i) picture.pixels.insert(picture.pixels.end(), {1, 2, 3, 255});
  const std::string folder = root_.Path("pictures");
  std::filesystem::create_directories(folder);
  WriteBytes(folder + "/Install_Head.PNG", workflow::EncodePng(picture));
  WriteBytes(folder + "/broken.png", "\x89PNG but not really");

  const Surface loaded = LoadPictureFromFile(util::Utf8ToWide(folder + "/install_head.png"));
  ASSERT_EQ(loaded.GetSize(), (Size{7, 5}));
  EXPECT_EQ(loaded.PixelAt(3, 2), 0xFF010203u);
  EXPECT_TRUE(LoadPictureFromFile(util::Utf8ToWide(folder + "/broken.png")).IsNull());
  EXPECT_TRUE(LoadPictureFromFile(util::Utf8ToWide(folder + "/missing.png")).IsNull());
  EXPECT_TRUE(LoadPictureFromFile(util::Utf8ToWide(folder)).IsNull()) << "a folder";
}

}  // namespace
}  // namespace qv::ui::test
