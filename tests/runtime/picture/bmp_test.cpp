// The BMP decoder: every depth upright with its colours, and hostile headers refused.
#include <gtest/gtest.h>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/decode_checks.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using namespace lw::testing;

TEST(BmpDecode, EveryDepthComesOutUprightWithItsColours) {
  // 11 × 3, rows wider than a byte at 1 bit and each row different, so a flipped or
  // shifted row shows. At 32 bits the fourth byte is no alpha and is dropped.
  for (uint16_t bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    Rows stored(3, std::vector<uint32_t>(11)), want = stored;
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t x = 0; x < 11; ++x) {
        const uint32_t i = (x * (y + 1) + y) % (bits == 1 ? 2 : 4);
        stored[y][x] = bits <= 8 ? i : kFour[i] | 0x12000000;
        want[y][x] = 0xFF000000 | kFour[i];
      }
    Picture p = decode(testing::makeBmp(stored, bits, bits <= 8 ? kFour : std::vector<uint32_t>()));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->kind, kPictureBmp);
    EXPECT_EQ(p->flags, 0u);
    expectPixels(*p, want);
  }
}

TEST(BmpDecode, TopDownBitmapIsShownUpright) {
  const Rows idx = {{0, 0}, {1, 1}, {2, 2}};
  Picture up = decode(testing::makeBmp(idx, 8, kFour, false));
  Picture down = decode(testing::makeBmp(idx, 8, kFour, true));
  ASSERT_TRUE(up && down);
  expectPixels(*down, {{kRed, kRed}, {kGreen, kGreen}, {kBlue, kBlue}});
  EXPECT_EQ(memcmp(up->pixels, down->pixels, up->size), 0);
}

TEST(BmpDecode, ShortColourTableAndLongHeader) {
  // Two colours used at 8 bits: indices past the table are black.
  Picture p = decode(testing::makeBmp({{0, 1, 7}}, 8, {0xFF0000, 0x00FF00}));
  ASSERT_TRUE(p);
  expectPixels(*p, {{kRed, kGreen, kBlack}});
  // A 124-byte header: the colour table follows it, not the first 40 bytes.
  Picture v5 = decode(testing::makeBmp({{0, 1, 2}}, 8, kFour, false, 124));
  ASSERT_TRUE(v5);
  expectPixels(*v5, {{kRed, kGreen, kBlue}});
  Picture sample = decode(testing::readSample("quad.bmp"));  // 24 bits, 124-byte header
  ASSERT_TRUE(sample) << "tests/data/pictures/quad.bmp";
  EXPECT_EQ(sample->width, 16u);
  expectQuarters(*sample);
}

TEST(BmpDecode, VariantsOutsideTheListAndHostileFieldsAreNoPicture) {
  const Bytes good = testing::makeBmp({{0, 1}, {2, 3}}, 8, kFour);
  ASSERT_TRUE(decode(good));
  expectCutsRefused(good, 1, good.size());
  EXPECT_STREQ(refusal(patched(good, 30, 1)), "compressed");
  EXPECT_STREQ(refusal(patched(good, 28, 16, 2)), "bit count");
  EXPECT_FALSE(decode(patched(good, 14, 12))) << "the old 12-byte header";
  EXPECT_FALSE(decode(patched(good, 14, 0x7FFFFFFF))) << "header size";
  EXPECT_STREQ(refusal(patched(good, 10, 0xFFFFFFF0)), "short pixel data") << "pixel data offset";
  EXPECT_STREQ(refusal(patched(good, 46, 200)), "short colour table") << "colours used";
  EXPECT_FALSE(decode(patched(good, 46, 0x40000000))) << "colours used";
  EXPECT_FALSE(decode(patched(good, 22, 0x80000000))) << "the most negative height";
  // Sizes above the limits, whatever the file holds, and stride × height past 4 GiB.
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{16385, 1}, {1, 16385}, {16384, 16384}, {0, 5}, {5, 0}})
    EXPECT_FALSE(decode(patched(patched(good, 18, w), 22, h))) << w << "x" << h;
  EXPECT_FALSE(decode(patched(patched(patched(good, 28, 32, 2), 18, 16384), 22, 16384)));
}

}  // namespace
}  // namespace lw
