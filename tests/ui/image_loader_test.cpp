#include "ui/image_loader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <filesystem>

#include "temp_root.h"
#include "ui/core/picture_ids.h"
#include "ui_test_support.h"
#include "util/text_conversion.h"

namespace qv::ui::test {
namespace {

class ImageLoaderTest : public qv::test::TempRootTest {};

TEST_F(ImageLoaderTest, ResourcesDecodeIntoTheSurfacesFormatAndAMissingOneIsNoPicture) {
  const QImage frame = LoadImageFromResource(kFramePicture);
  EXPECT_EQ(frame.size(), QSize(584, 410));
  EXPECT_EQ(frame.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(LoadImageFromResource(kProgressBarPicture).size(), QSize(20, 20));
  EXPECT_TRUE(LoadImageFromResource(9999).isNull());
  // A resource that is no picture (a language table).
  EXPECT_TRUE(LoadImageFromResource(140).isNull());
}

TEST_F(ImageLoaderTest, FilesAreFoundWhateverTheCaseOfTheirNameAndOnlyPicturesDecode) {
  QImage picture(7, 5, QImage::Format_RGB32);
  picture.fill(QColor(1, 2, 3));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(picture.save(&buffer, "PNG"));
  const std::string folder = root_.Path("pictures");
  std::filesystem::create_directories(folder);
  WriteBytes(folder + "/Install_Head.PNG", std::string_view(png.constData(), png.size()));
  WriteBytes(folder + "/broken.png", "\x89PNG but not really");

  const QImage loaded = LoadImageFromFile(util::Utf8ToWide(folder + "/install_head.png"));
  ASSERT_EQ(loaded.size(), QSize(7, 5));
  EXPECT_EQ(loaded.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(loaded.pixel(3, 2), qRgb(1, 2, 3));
  EXPECT_TRUE(LoadImageFromFile(util::Utf8ToWide(folder + "/broken.png")).isNull());
  EXPECT_TRUE(LoadImageFromFile(util::Utf8ToWide(folder + "/missing.png")).isNull());
  EXPECT_TRUE(LoadImageFromFile(util::Utf8ToWide(folder)).isNull()) << "a folder";
}

}  // namespace
}  // namespace qv::ui::test
