// The PCX decoder: 8-bit pictures with or without a table, 1-bit rows, runs
// across rows, and variants and cuts refused.
#include <gtest/gtest.h>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/decode_checks.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using namespace lw::testing;

TEST(PcxDecode, EightBitsWithTheTableAtTheEndOrGrey) {
  // 3 × 2 pixels, rows of 4 bytes (one byte of padding).
  Bytes b = testing::pcxHeader(5, 8, 3, 2, 4);
  const Bytes runs = testing::pcxRuns({0, 1, 2, 9, 3, 3, 3, 9});
  b.insert(b.end(), runs.begin(), runs.end());
  b.push_back(12);
  Bytes table(768, 0);
  for (int i = 0; i < 12; ++i) table[i] = uint8_t(kFour[i / 3] >> (16 - 8 * (i % 3)));
  b.insert(b.end(), table.begin(), table.end());
  Picture p = decode(b);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, kPicturePcx8);
  expectPixels(*p, {{kRed, kGreen, kBlue}, {kWhite, kWhite, kWhite}});
  Picture sample = decode(testing::readSample("quad.pcx"));
  ASSERT_TRUE(sample) << "tests/data/pictures/quad.pcx";
  EXPECT_EQ(sample->width, 16u);
  expectQuarters(*sample);
  // 50 × 1 without a table: one byte, then a run of 49 (runs go up to 63).
  Bytes g = testing::pcxHeader(5, 8, 50, 1, 50);
  g.insert(g.end(), {0x40, 0xC0 | 49, 0xC8});
  Picture q = decode(g);
  ASSERT_TRUE(q);
  std::vector<uint32_t> want(50, grey(0xC8));
  want[0] = grey(0x40);
  expectPixels(*q, {want});
}

TEST(PcxDecode, OneBitRowsAndRunsAcrossRows) {
  // 10 × 3 at 1 bit, 2 bytes a row; one run covers the end of row 0 and all of row 1.
  Bytes b = testing::pcxHeader(3, 1, 10, 3, 2);
  b.insert(b.end(), {0x81, 0xC3, 0xFF, 0x00, 0x40});
  Picture p = decode(b);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, kPicturePcx1);
  const uint32_t K = kBlack, W = kWhite;
  expectPixels(*p, {{W, K, K, K, K, K, K, W, W, W},  //
                    {W, W, W, W, W, W, W, W, W, W},
                    {K, K, K, K, K, K, K, K, K, W}});
}

TEST(PcxDecode, VariantsOutsideTheListAndCutsAreNoPicture) {
  Bytes good = testing::pcxHeader(5, 8, 3, 2, 4);
  good.insert(good.end(), {0, 1, 2, 9, 3, 3, 3, 9});
  ASSERT_TRUE(decode(good));
  expectCutsRefused(good, 8, good.size());
  EXPECT_FALSE(decode(patched(good, 65, 3, 1))) << "three planes of 8 bits";
  EXPECT_FALSE(decode(patched(good, 66, 2, 2))) << "rows shorter than the width";
  EXPECT_FALSE(decode(patched(good, 4, 3, 2))) << "left after right";
  EXPECT_FALSE(decode(patched(good, 8, 0xFFFFFFFF))) << "65536 × 65536";
  // 8193 × 8193 is refused for want of data before anything is allocated.
  EXPECT_STREQ(refusal(patched(patched(good, 8, 0x20002000), 66, 8193, 2)), "short pixel data");
}

}  // namespace
}  // namespace lw
