// Picture detection by signature, and what is no picture before any decoder runs.
#include <gtest/gtest.h>

#include <string>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/decode_checks.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using namespace lw::testing;

TEST(PictureFormat, SignaturesInTheirOrder) {
  auto kind = [](Bytes b) {
    b.resize(8, 0);
    return DetectPictureFormat(b.data(), b.size());
  };
  EXPECT_EQ(kind({'B', 'M'}), kPictureBmp);
  EXPECT_EQ(kind({0xFF, 0xD8, 0xFF}), kPictureJpeg);
  EXPECT_EQ(kind({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}), kPicturePng);
  EXPECT_EQ(kind({0, 0, 1, 0, 3, 0}), kPictureIcon);
  EXPECT_EQ(kind({0, 0, 2, 0, 1, 0}), kPictureCursor);
  EXPECT_EQ(kind({0, 0, 1, 0, 0, 0}), kPictureUnknown) << "an icon directory needs an image";
  EXPECT_EQ(kind({'G', 'I', 'F', '8', '7', 'a'}), kPictureGif);
  EXPECT_EQ(kind({'G', 'I', 'F', '8', '9', 'a'}), kPictureGif);
  EXPECT_EQ(kind({'G', 'I', 'F', '8', '8', 'a'}), kPictureUnknown);
  EXPECT_EQ(kind({10, 5, 1, 8}), kPicturePcx8);
  EXPECT_EQ(kind({10, 0, 1, 8}), kPicturePcx8);
  EXPECT_EQ(kind({10, 6, 1, 8}), kPictureUnknown);
  EXPECT_EQ(kind({10, 3, 1, 1}), kPicturePcx1);
  EXPECT_EQ(kind({10, 5, 1, 1}), kPictureUnknown) << "1-bit PCX is known at version 3 only";
  EXPECT_EQ(kind({10, 5, 0, 8}), kPictureUnknown);
}

TEST(PictureDecode, EmptyShortAndUnknownDataAreNoPicture) {
  const char* reason = nullptr;
  EXPECT_FALSE(DecodePicture(nullptr, 0, false, &reason));
  EXPECT_STREQ(reason, "empty");
  EXPECT_STREQ(refusal({'B', 'M', 0, 0, 0}), "unknown format") << "5 bytes";
  // An error page sent instead of a picture.
  const std::string html = "<html><body>502 Bad Gateway</body></html>";
  EXPECT_STREQ(refusal(Bytes(html.begin(), html.end())), "unknown format");
}

}  // namespace
}  // namespace lw
