#include "ui/core/picture_decoding.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ui/core/picture_ids.h"
#include "ui/core/picture_loading.h"

namespace qv::ui::test {
namespace {

bool SamePixels(const Surface& a, const Surface& b) {
  return a.GetSize() == b.GetSize() && a.ByteSize() == b.ByteSize() &&
         std::memcmp(a.Pixels(), b.Pixels(), a.ByteSize()) == 0;
}

// The decoding thread's own decoder must give the very pixels the backend's decoder gives: the
// frame is drawn from whichever ran.
TEST(PictureDecodingTest, EveryPictureResourceComesOutAsTheLoaderGivesIt) {
  for (const int id : {kLargeIcon, kSmallIcon, kFramePicture, kClosePicture, kMinimisePicture,
                       kMinimiseHoverPicture, kCloseHoverPicture, kProgressBarPicture,
                       kDefaultHeaderPicture}) {
    SCOPED_TRACE(id);
    const Surface expected = LoadPictureFromResource(id);
    ASSERT_FALSE(expected.IsNull());
    PictureDecoding decoding(id);
    const Surface decoded = decoding.Take();
    EXPECT_TRUE(SamePixels(decoded, expected));
    EXPECT_TRUE(decoding.Take().IsNull()) << "taken once";
  }
}

TEST(PictureDecodingTest, WhatIsNoPictureGivesNoPicture) {
  for (const int id : {9999, 140 /* a language table */}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(PictureDecoding(id).Take().IsNull());
  }
}

TEST(PictureDecodingTest, ADecodingNeverTakenEndsWithItsOwner) {
  PictureDecoding decoding(kFramePicture);  // joined by the destructor
}

}  // namespace
}  // namespace qv::ui::test
