// The icon and cursor decoder: which image of the directory is taken, alpha and
// mask, 16-bit and PNG images, the cursor's hot spot, hostile directories.
#include <gtest/gtest.h>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/decode_checks.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using namespace lw::testing;

testing::IconImage solidIcon(uint32_t size, uint16_t bits, uint32_t value) {
  testing::IconImage image;
  image.rows.assign(size, std::vector<uint32_t>(size, value));
  image.bits = bits;
  if (bits <= 8) {
    image.palette.assign(size_t(1) << bits, 0x808080);
    image.palette[1] = 0x00FF00;
  }
  image.colourCount = bits == 4 ? 16 : 0;
  return image;
}

TEST(IconDecode, TakesTheFirst32PixelImageOfAtLeast16ColoursElseTheLast) {
  testing::IconImage two = solidIcon(32, 1, 0), wanted = solidIcon(32, 8, 1);
  two.colourCount = 2;  // 32 pixels but too few colours
  wanted.mask.assign(32, std::vector<uint32_t>(32, 0));
  wanted.mask[0][0] = 1;
  Picture p = decode(testing::makeIcon({solidIcon(16, 4, 0), two, wanted, solidIcon(48, 8, 0)}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, kPictureIcon);
  EXPECT_EQ(p->width, 32u);
  EXPECT_EQ(p->height, 32u);
  EXPECT_EQ(p->iconBitCount, 8);
  EXPECT_EQ(pixel(*p, 1, 0), kGreen);
  EXPECT_EQ(pixel(*p, 0, 0) >> 24, 0u) << "the mask makes the corner transparent";
  EXPECT_EQ(p->flags, kPictureHasAlpha);
  // The image bytes are kept for making a platform icon.
  const Bytes image = testing::iconImageBytes(wanted);
  ASSERT_EQ(p->iconImageSize, image.size());
  EXPECT_EQ(memcmp(p->iconImage, image.data(), image.size()), 0);

  Picture last = decode(testing::makeIcon({solidIcon(16, 4, 1), solidIcon(24, 4, 0)}));
  ASSERT_TRUE(last);
  EXPECT_EQ(last->width, 24u);
  EXPECT_EQ(pixel(*last, 3, 3), 0xFF808080);
  EXPECT_EQ(last->flags, 0u) << "no mask bit set: opaque";

  // The sample's images are all 32-bit, so their colour count is 0 (256 or more).
  Picture sample = decode(testing::readSample("multi.ico"));
  ASSERT_TRUE(sample) << "tests/data/pictures/multi.ico";
  EXPECT_EQ(sample->width, 32u);
  EXPECT_EQ(pixel(*sample, 0, 10) >> 24, 0u);
  EXPECT_EQ(pixel(*sample, 1, 10), 0xFFFFFF00u);
}

TEST(IconDecode, ThirtyTwoBitImagesUseTheirAlphaOrElseTheMask) {
  testing::IconImage image = solidIcon(32, 32, 0xFF112233);
  image.rows[5][6] = 0x80445566;
  image.rows[31][31] = 0;
  image.mask.assign(32, std::vector<uint32_t>(32, 1));  // ignored: the image has alpha
  Bytes file = testing::makeIcon({image});
  Picture p = decode(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), 0xFF112233u);
  EXPECT_EQ(pixel(*p, 6, 5), 0x80445566u);
  EXPECT_EQ(pixel(*p, 31, 31), 0u);
  // Without the mask rows (the last 128 bytes) the same.
  file.resize(file.size() - 128);
  Picture q = decode(patched(file, 6 + 8, uint32_t(file.size() - 22)));
  ASSERT_TRUE(q);
  EXPECT_EQ(memcmp(p->pixels, q->pixels, p->size), 0);
  // No alpha at all: the mask decides.
  image = solidIcon(32, 32, 0x00FF0000);
  image.mask.assign(32, std::vector<uint32_t>(32, 0));
  image.mask[31][0] = 1;
  Picture r = decode(testing::makeIcon({image}));
  ASSERT_TRUE(r);
  EXPECT_EQ(pixel(*r, 1, 31), kRed);
  EXPECT_EQ(pixel(*r, 0, 31), 0x00FF0000u);
}

TEST(IconDecode, SixteenBitAndPngImages) {
  // Icons may hold 5-5-5 images, which a BMP file of ours may not.
  testing::IconImage image = solidIcon(32, 16, 31u << 10);  // red
  image.rows[0][1] = 31u << 5 | 16;                         // green, some blue
  Picture p = decode(testing::makeIcon({image}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), kRed);
  EXPECT_EQ(pixel(*p, 1, 0), 0xFF00FF84u);
  EXPECT_EQ(p->iconBitCount, 16);
  testing::IconImage png;
  png.png = testing::readSample("alpha.png");
  ASSERT_FALSE(png.png.empty());
  Picture q = decode(testing::makeIcon({png}));
  ASSERT_TRUE(q);
  EXPECT_EQ(q->kind, kPictureIcon);
  EXPECT_EQ(q->width, 8u);
  EXPECT_EQ(pixel(*q, 0, 0), kRed);
  EXPECT_EQ(pixel(*q, 0, 7) >> 24, 0u);
}

TEST(IconDecode, CursorKeepsItsHotSpot) {
  testing::IconImage image = solidIcon(32, 4, 1);
  image.hotX = 7;
  image.hotY = 21;
  Picture p = decode(testing::makeIcon({image}, 2));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, kPictureCursor);
  EXPECT_EQ(p->hotSpotX, 7);
  EXPECT_EQ(p->hotSpotY, 21);
  EXPECT_EQ(pixel(*p, 31, 31), kGreen);
}

TEST(IconDecode, HostileDirectoriesAreNoPicture) {
  const Bytes good = testing::makeIcon({solidIcon(16, 4, 1), solidIcon(32, 8, 1)});
  ASSERT_TRUE(decode(good));
  expectCutsRefused(good, 8, good.size());
  const size_t entry = 6 + 16, header = testing::get32(good, entry + 12);
  EXPECT_FALSE(decode(patched(good, 4, 200, 2))) << "more entries than the file holds";
  EXPECT_FALSE(decode(patched(good, entry + 12, 0xFFFFFF00))) << "image offset";
  EXPECT_FALSE(decode(patched(good, entry + 8, 0xFFFFFFFF))) << "image size";
  EXPECT_FALSE(decode(patched(good, header + 8, 0x7FFFFFFF))) << "bitmap height";
  EXPECT_FALSE(decode(patched(good, header + 32, 0x01000000))) << "colours used";
  EXPECT_FALSE(decode(patched(good, header, 0xFFFFFFFF))) << "header size";
}

}  // namespace
}  // namespace lw
