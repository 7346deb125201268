// The PNG decoder: alpha kept, damage refused.
#include <gtest/gtest.h>

#include <initializer_list>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/decode_checks.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using namespace lw::testing;

TEST(PngDecode, AlphaIsKeptAndDamageIsNoPicture) {
  const Bytes good = testing::readSample("alpha.png");
  Picture p = decode(good);
  ASSERT_TRUE(p) << "tests/data/pictures/alpha.png";
  EXPECT_EQ(p->kind, kPicturePng);
  EXPECT_EQ(p->flags, kPictureHasAlpha);
  EXPECT_EQ(pixel(*p, 0, 0), kRed);
  EXPECT_EQ(pixel(*p, 7, 0) & 0xFFFFFF, 0x00FF00u);
  EXPECT_NEAR(double(pixel(*p, 7, 0) >> 24), 128, 1);
  EXPECT_EQ(pixel(*p, 0, 7) >> 24, 0u);
  EXPECT_EQ(pixel(*p, 7, 7), kWhite);
  // Cuts before the end of the image data (its one IDAT chunk lies at 111-162).
  for (size_t cut : {8, 20, 33, 60, 120, 130, 140})
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  EXPECT_FALSE(decode(patched(good, 16, 0x7F, 1))) << "width changed, check value not";
}

}  // namespace
}  // namespace lw
