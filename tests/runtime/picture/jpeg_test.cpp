// The JPEG decoder: colour and grey pictures, damage refused.
#include <gtest/gtest.h>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/decode_checks.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using namespace lw::testing;

TEST(JpegDecode, ColourAndGreyAndDamage) {
  const Bytes good = testing::readSample("colour.jpg");
  Picture colour = decode(good);
  ASSERT_TRUE(colour) << "tests/data/pictures/colour.jpg";
  EXPECT_EQ(colour->kind, kPictureJpeg);
  EXPECT_EQ(colour->flags, 0u);
  ASSERT_EQ(colour->width, 32u);
  expectNear(pixel(*colour, 4, 4), 0xFF0000, 12);
  expectNear(pixel(*colour, 27, 4), 0x00FF00, 12);
  expectNear(pixel(*colour, 4, 27), 0x0000FF, 12);
  expectNear(pixel(*colour, 27, 27), 0xFFFFFF, 12);
  Picture grey = decode(testing::readSample("grey.jpg"));
  ASSERT_TRUE(grey) << "tests/data/pictures/grey.jpg";
  const uint32_t levels[4] = {0, 85, 170, 255};
  for (int q = 0; q < 4; ++q) {
    const uint32_t v = pixel(*grey, q % 2 ? 27 : 4, q / 2 ? 27 : 4);
    EXPECT_EQ(v, 0xFF000000 | (v & 0xFF) * 0x010101) << "grey widens to three equal bytes";
    EXPECT_NEAR(double(v & 0xFF), levels[q], 4);
  }
  for (size_t cut = 2; cut < good.size() - 2; cut += 7)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  EXPECT_TRUE(decode(Bytes(good.begin(), good.end() - 2))) << "without its end marker the picture is whole";
  Bytes garbage = {0xFF, 0xD8, 0xFF, 0xE0};
  garbage.resize(64, 0xAB);
  EXPECT_FALSE(decode(garbage));
}

}  // namespace
}  // namespace lw
