#include "runtime/picture/pixels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/core/values/memory.h"

namespace lw {
namespace {

void expectRect(PictureRect r, int32_t left, int32_t top, int32_t width, int32_t height) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(PictureDisplay, FittedAndCentredInA270Box) {
  expectRect(PictureDisplayRect(2, 270, 270, 300, 300), 0, 0, 270, 270);
  expectRect(PictureDisplayRect(2, 270, 270, 100, 50), 85, 110, 100, 50);
  expectRect(PictureDisplayRect(2, 270, 270, 400, 100), 0, 101, 270, 67);
  // Taller than wide: the height limits and the width is truncated.
  expectRect(PictureDisplayRect(2, 270, 270, 100, 400), 101, 0, 67, 270);
  // Larger in one direction only: never enlarged in the other.
  expectRect(PictureDisplayRect(2, 270, 100, 50, 300), 127, 0, 16, 100);  // 110 + (50 - 16) / 2
  expectRect(PictureDisplayRect(2, 270, 270, 270, 270), 0, 0, 270, 270);
}

TEST(PictureDisplay, OwnSizeAndStretched) {
  expectRect(PictureDisplayRect(0, 270, 270, 400, 100), 0, 0, 400, 100);
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{300, 300}, {100, 50}, {400, 100}, {1, 1000}})
    expectRect(PictureDisplayRect(1, 270, 270, w, h), 0, 0, 270, 270);
  // A collapsed client area draws nothing rather than a negative size.
  expectRect(PictureDisplayRect(2, -5, 0, 40, 40), 0, 0, 0, 0);
}

TEST(PictureComposite, AlphaBlendsOverTheBackgroundColour) {
  // Pixels: opaque blue, half-transparent green, fully transparent red.
  std::vector<uint8_t> px = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0};
  const uint32_t background = 0x204060;  // red 0x60, green 0x40, blue 0x20
  CompositeOverColour(px.data(), px.data(), 3, background);
  const std::vector<uint8_t> want = {
      255, 0, 0, 255,
      uint8_t((127 * 0x20) / 255), uint8_t((128 * 255 + 127 * 0x40) / 255), uint8_t((127 * 0x60) / 255), 255,
      0x20, 0x40, 0x60, 255,
  };
  EXPECT_EQ(px, want);
}

std::vector<uint8_t> greyPixels(const std::vector<uint8_t>& levels) {
  std::vector<uint8_t> px;
  for (uint8_t v : levels) px.insert(px.end(), {v, v, v, 255});
  return px;
}

TEST(PictureStretch, NearestTakesThePixelUnderEachCentre) {
  const auto src = greyPixels({10, 20, 30, 40, 50, 60});  // 3 × 2
  std::vector<uint8_t> dst(6 * 4 * 4);
  StretchNearest(src.data(), 3, 2, dst.data(), 6, 4);
  EXPECT_EQ(dst, greyPixels({10, 10, 20, 20, 30, 30, 10, 10, 20, 20, 30, 30,  //
                             40, 40, 50, 50, 60, 60, 40, 40, 50, 50, 60, 60}));
  std::vector<uint8_t> small(2 * 4);
  StretchNearest(src.data(), 3, 2, small.data(), 2, 1);
  EXPECT_EQ(small, greyPixels({40, 60}));  // centres at (0.75, 1) and (2.25, 1)
}

TEST(PictureStretch, BoxAveragesWhatEachPixelCovers) {
  // 4 × 1 to 2 × 1: pairs averaged; 3 × 1 to 2 × 1: the middle pixel split in halves.
  const auto four = greyPixels({0, 100, 200, 250});
  std::vector<uint8_t> two(2 * 4);
  StretchBox(four.data(), 4, 1, two.data(), 2, 1);
  EXPECT_EQ(two, greyPixels({50, 225}));
  const auto three = greyPixels({0, 90, 180});
  StretchBox(three.data(), 3, 1, two.data(), 2, 1);
  EXPECT_EQ(two, greyPixels({30, 150}));  // (2·0 + 1·90) / 3, (1·90 + 2·180) / 3
  // Both directions, and an enlarged direction repeats pixels.
  const auto square = greyPixels({0, 40, 80, 120});  // 2 × 2
  std::vector<uint8_t> one(4);
  StretchBox(square.data(), 2, 2, one.data(), 1, 1);
  EXPECT_EQ(one, greyPixels({60}));
  std::vector<uint8_t> wide(4 * 1 * 4);
  StretchBox(square.data(), 2, 2, wide.data(), 4, 1);
  EXPECT_EQ(wide, greyPixels({40, 40, 80, 80}));
}

// The largest block asked of the allocator, to see what a stretch needs.
size_t g_largestBlock = 0;
void* recordingAlloc(size_t n) {
  if (n > g_largestBlock) g_largestBlock = n;
  return malloc(n);
}

TEST(PictureStretch, BoxNeedsARowOfTheDestinationNotThePicturesHeight) {
  // A tall picture into a wide box: 1 × 2048 into 2048 × 1. A buffer of the box's
  // width by the picture's height would be 16 MB; grown further such a stretch asks
  // for gigabytes while painting.
  std::vector<uint8_t> tall(2048 * 4);
  for (size_t i = 0; i < tall.size(); ++i) tall[i] = i < tall.size() / 2 ? 0 : 255;
  std::vector<uint8_t> wide(2048 * 4);
  g_largestBlock = 0;
  SetHeapOps({&recordingAlloc, &realloc, &free});
  EXPECT_TRUE(StretchBox(tall.data(), 1, 2048, wide.data(), 2048, 1));
  SetHeapOps({&malloc, &realloc, &free});
  EXPECT_GT(g_largestBlock, 0u) << "expected the buffers from the runtime's allocator";
  EXPECT_LE(g_largestBlock, size_t(2048) * 16) << "expected at most a row of sums";
  EXPECT_EQ(std::vector<uint8_t>(wide.size(), 128), wide) << "expected every pixel the average of the column";

  // No memory at all: false, and nothing thrown.
  SetHeapOps({[](size_t) -> void* { return nullptr; }, &realloc, &free});
  EXPECT_FALSE(StretchBox(tall.data(), 1, 2048, wide.data(), 2048, 1));
  SetHeapOps({&malloc, &realloc, &free});
}

TEST(PictureStretch, APartIsThatWindowOfTheWholeStretchAndNeedsOnlyItsOwnMemory) {
  // 300 × 200 of varied, partly transparent pixels, shrunk across and enlarged down.
  const uint32_t sw = 300, sh = 200, fw = 170, fh = 450;
  std::vector<uint8_t> src(size_t(sw) * sh * 4);
  for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i * 7 + i / 1200 * 13);
  const uint32_t background = 0x336699;
  std::vector<uint8_t> composited(src.size()), whole(size_t(fw) * fh * 4);
  CompositeOverColour(src.data(), composited.data(), size_t(sw) * sh, background);
  ASSERT_TRUE(StretchBox(composited.data(), sw, sh, whole.data(), fw, fh));

  const StretchPart part = {fw, fh, 40, 300, 25, 60};
  std::vector<uint8_t> got(size_t(part.width) * part.height * 4);
  g_largestBlock = 0;
  SetHeapOps({&recordingAlloc, &realloc, &free});
  EXPECT_TRUE(StretchBoxPart(src.data(), sw, sh, part, got.data(), &background));
  SetHeapOps({&malloc, &realloc, &free});
  EXPECT_LE(g_largestBlock, size_t(part.width) * 16) << "expected a row of sums of the part, not of the picture";
  for (uint32_t y = 0; y < part.height; ++y)
    ASSERT_EQ(0, memcmp(got.data() + size_t(y) * part.width * 4,
                        whole.data() + ((size_t(part.top) + y) * fw + part.left) * 4, size_t(part.width) * 4))
        << "row " << y << " differs from compositing first and stretching the whole";

  const StretchPart outside = {fw, fh, 150, 0, 21, 1};
  EXPECT_FALSE(StretchBoxPart(src.data(), sw, sh, outside, got.data(), nullptr));
}

}  // namespace
}  // namespace lw
