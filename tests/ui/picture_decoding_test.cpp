#include "ui/picture_decoding.h"

#include <gtest/gtest.h>

#include <QImage>

#include "ui/image_loader.h"
#include "ui/core/picture_ids.h"

namespace qv::ui::test {
namespace {

// The decoding thread's own decoder must give the very pixels Qt's decoder gives: the frame is
// drawn from whichever ran.
TEST(PictureDecodingTest, EveryPictureResourceComesOutAsTheLoaderGivesIt) {
  for (const int id : {kLargeIcon, kSmallIcon, kFramePicture, kClosePicture, kMinimisePicture,
                       kMinimiseHoverPicture, kCloseHoverPicture, kProgressBarPicture,
                       kDefaultHeaderPicture}) {
    SCOPED_TRACE(id);
    const QImage expected = LoadImageFromResource(id);
    ASSERT_FALSE(expected.isNull());
    PictureDecoding decoding(id);
    const QImage decoded = decoding.Take();
    EXPECT_EQ(decoded.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(decoded, expected);
    EXPECT_TRUE(decoding.Take().isNull()) << "taken once";
  }
}

TEST(PictureDecodingTest, WhatIsNoPictureGivesNoPicture) {
  for (const int id : {9999, 140 /* a language table */}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(PictureDecoding(id).Take().isNull());
  }
}

TEST(PictureDecodingTest, ADecodingNeverTakenEndsWithItsOwner) {
  PictureDecoding decoding(kFramePicture);  // joined by the destructor
}

}  // namespace
}  // namespace qv::ui::test
