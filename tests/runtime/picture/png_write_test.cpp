// The PNG writer: each pixel layout read back by the program's own decoder, and
// what it must refuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/core/values/memory.h"
#include "runtime/picture/png_write.h"
#include "tests/runtime/picture/decode_checks.h"

namespace lw {
namespace {

using namespace lw::testing;

TEST(PngWrite, EveryLayoutReadsBackAsItsPixels) {
  // Two rows of three pixels; every channel of every pixel differs, so a swapped
  // channel, a shifted row or a lost alpha shows.
  struct Case {
    const char* what;
    PngPixels layout;
    std::vector<uint8_t> pixels;
    Rows expected;  // 0xAARRGGBB
  };
  const Case cases[] = {
      {"grey", PngPixels::Grey, {0, 0x40, 0x80, 0xC0, 0xFF, 0x11},
       {{0xFF000000, 0xFF404040, 0xFF808080}, {0xFFC0C0C0, 0xFFFFFFFF, 0xFF111111}}},
      {"red, green, blue", PngPixels::Rgb,
       {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 9},
       {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0xFF010203, 0xFF040506, 0xFF070809}}},
      {"with alpha", PngPixels::Rgba,
       {0xFF, 0, 0, 0xFF, 0, 0xFF, 0, 0x80, 0, 0, 0xFF, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       {{0xFFFF0000, 0x8000FF00, 0x000000FF}, {0x04010203, 0x08050607, 0x0C090A0B}}},
      {"platform bitmap, its fourth byte ignored", PngPixels::Bgrx,
       {0, 0, 0xFF, 0, 0, 0xFF, 0, 0x55, 0xFF, 0, 0, 0xAA, 3, 2, 1, 0, 6, 5, 4, 0x12, 9, 8, 7, 0},
       {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0xFF010203, 0xFF040506, 0xFF070809}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ByteSet png = EncodePng(c.pixels.data(), 3, 2, c.layout);
    ASSERT_NE(nullptr, png);
    Picture p(DecodePicture(byteSetData(png), byteSetLength(png)));
    FreeMemory(png);
    ASSERT_TRUE(p) << "expected the written bytes to decode";
    EXPECT_EQ(kPicturePng, p->kind);
    ASSERT_EQ(3u, p->width);
    ASSERT_EQ(2u, p->height);
    expectPixels(*p, c.expected);
  }
}

TEST(PngWrite, NothingToWriteOrSizesBeyondMemoryGiveNoFile) {
  const uint8_t pixels[4] = {};
  struct Case {
    const char* what;
    const uint8_t* pixels;
    uint32_t width, height;
  };
  const Case cases[] = {
      {"no pixels", nullptr, 1, 1},
      {"no width", pixels, 0, 1},
      {"no height", pixels, 1, 0},
      {"a byte count beyond any memory", pixels, UINT32_MAX, UINT32_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(nullptr, EncodePng(c.pixels, c.width, c.height, PngPixels::Bgrx)) << c.what;
}

}  // namespace
}  // namespace lw
