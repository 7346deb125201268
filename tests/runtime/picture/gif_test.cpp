// The GIF decoder: coded pixels, interlacing, tables and transparency, extensions,
// animation frames, and damaged or oversized data.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/decode_checks.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using namespace lw::testing;

std::vector<uint32_t> greyRamp(size_t n) {
  std::vector<uint32_t> p(n);
  for (size_t i = 0; i < n; ++i) p[i] = uint32_t(i * 0x010101 * (256 / n));
  return p;
}

testing::GifFrame gifImage(uint16_t left, uint16_t top, uint16_t width, uint16_t height, std::vector<uint8_t> pixels) {
  testing::GifFrame f;
  f.left = left, f.top = top, f.width = width, f.height = height, f.pixels = std::move(pixels);
  return f;
}

// A deterministic noisy picture: enough to fill the string table and use codes of
// every width up to 12 bits.
std::vector<uint8_t> noise(size_t n, uint32_t seed, uint32_t levels) {
  std::vector<uint8_t> v(n);
  for (auto& x : v) {
    seed = seed * 1103515245 + 12345;
    x = uint8_t((seed >> 16) % levels);
  }
  return v;
}

TEST(GifDecode, CodedPixelsComeBackExactly) {
  const auto palette = greyRamp(256);
  for (int minBits : {2, 4, 8}) {
    SCOPED_TRACE(minBits);
    testing::GifFrame f = gifImage(0, 0, 120, 90, noise(120 * 90, 7u + minBits, 1u << minBits));
    f.minBits = minBits;
    Picture p = decode(testing::makeGif(120, 90, palette, {f}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->kind, kPictureGif);
    ASSERT_EQ(p->width, 120u);
    for (size_t i = 0; i < f.pixels.size(); ++i)
      ASSERT_EQ(pixel(*p, uint32_t(i % 120), uint32_t(i / 120)), 0xFF000000 | palette[f.pixels[i]]) << i;
  }
  // One colour makes the longest strings.
  testing::GifFrame flat = gifImage(0, 0, 200, 200, std::vector<uint8_t>(200 * 200, 3));
  flat.pixels.back() = 1;
  Picture p = decode(testing::makeGif(200, 200, greyRamp(4), {flat}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 199, 198), grey(0xC0));
  EXPECT_EQ(pixel(*p, 199, 199), grey(0x40));
}

TEST(GifDecode, InterlacedRowsLandInPlace) {
  for (uint16_t height : {1, 2, 3, 5, 9, 16, 17}) {
    SCOPED_TRACE(height);
    testing::GifFrame f = gifImage(0, 0, 3, height, {});
    f.interlaced = true;
    for (uint16_t y = 0; y < height; ++y) f.pixels.insert(f.pixels.end(), 3, uint8_t(y));
    Picture p = decode(testing::makeGif(3, height, greyRamp(32), {f}));
    ASSERT_TRUE(p);
    for (uint32_t y = 0; y < height; ++y) ASSERT_EQ(pixel(*p, 2, y), grey(y * 8)) << y;
  }
  Picture sample = decode(testing::readSample("rows.gif"));
  ASSERT_TRUE(sample) << "tests/data/pictures/rows.gif";
  for (uint32_t y = 0; y < 16; ++y)
    EXPECT_EQ(pixel(*sample, 5, y), 0xFF000000 | (16 * y) << 16 | (255 - 16 * y) << 8 | 8 * y) << y;
}

TEST(GifDecode, LocalTableTransparencyAndOnlyTheFirstImage) {
  testing::GifFrame f = gifImage(0, 0, 2, 1, {0, 1});
  f.localPalette = {0x102030, 0x405060};
  f.transparent = 1;
  // Without animation only the first image, at its own size, is the picture.
  Picture p = decode(testing::makeGif(4, 4, greyRamp(2), {f, gifImage(0, 0, 4, 4, std::vector<uint8_t>(16, 1))}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->frameCount, 0u);
  expectPixels(*p, {{0xFF102030u, 0x00405060u}});  // transparent, keeping its colour
  EXPECT_EQ(p->flags, kPictureHasAlpha | kPictureHasTransparentColour);
  EXPECT_EQ(p->transparentColour, 0x605040u) << "red in the low byte";
  Picture sample = decode(testing::readSample("clear.gif"));
  ASSERT_TRUE(sample) << "tests/data/pictures/clear.gif";
  EXPECT_EQ(pixel(*sample, 0, 0), kBlack);
  EXPECT_EQ(pixel(*sample, 3, 3) >> 24, 0u);
}

TEST(GifDecode, ExtensionsAreSteppedOverAndUnknownOnesFail) {
  Bytes gif = testing::makeGif(1, 1, greyRamp(2), {gifImage(0, 0, 1, 1, {1})});
  // Comment, application (with its 11-byte identifier) and plain text extensions.
  const Bytes extensions = {0x21, 0xFE, 3, 'a', 'b', 'c', 0,                                         //
                            0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',  //
                            3, 1, 0, 0, 0,                                                          //
                            0x21, 0x01, 12, 0, 0, 0, 0, 1, 0, 1, 0, 8, 8, 1, 0, 2, 'h', 'i', 0};
  gif.insert(gif.begin() + 13 + 6, extensions.begin(), extensions.end());
  Picture p = decode(gif);
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), grey(0x80));
  EXPECT_STREQ(refusal(patched(gif, 13 + 6 + 1, 0x77, 1)), "unknown extension");
}

TEST(GifDecode, AnimationFramesWithDelaysDisposalAndTransparency) {
  // Screen 4 × 2; palette 0 black, 1 red, 2 green, 3 blue.
  auto bg = gifImage(0, 0, 4, 2, std::vector<uint8_t>(8, 1));  // red, kept
  auto keep = gifImage(1, 0, 2, 1, {2, 0});       // green; index 0 transparent lets the red through
  auto restore = gifImage(0, 0, 1, 2, {3, 3});    // blue, then restored to what was before
  auto clear = gifImage(3, 0, 1, 2, {3, 3});      // blue, then cleared to the transparent background
  auto last = gifImage(0, 0, 1, 1, {0});          // nothing: shows the screen after that
  bg.delayCs = 5, keep.delayCs = 10, restore.delayCs = 20;
  keep.transparent = last.transparent = 0;
  restore.disposal = 3, clear.disposal = 2;
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  Picture p = decode(testing::makeGif(4, 2, palette, {bg, keep, restore, clear, last}), true);
  ASSERT_TRUE(p);
  ASSERT_EQ(p->frameCount, 5u);
  EXPECT_EQ(p->flags, kPictureAnimated | kPictureHasAlpha);
  EXPECT_EQ(p->width, 4u);
  EXPECT_EQ(p->pixels, p->frames[0].pixels);
  const uint32_t R = kRed, G = kGreen, B = kBlue;
  const Rows want[] = {{{R, R, R, R}, {R, R, R, R}}, {{R, G, R, R}, {R, R, R, R}}, {{B, G, R, R}, {B, R, R, R}},
                       {{R, G, R, B}, {R, R, R, B}}, {{R, G, R, 0}, {R, R, R, 0}}};
  const uint32_t delays[] = {50, 100, 200, 0, 0};
  for (uint32_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p->frames[i].delayMs, delays[i]);
    expectPixels(p->frames[i].pixels, 4, want[i]);
  }
  EXPECT_EQ(AnimationFrameMs(0), 100u);
  EXPECT_EQ(AnimationFrameMs(10), 100u);
  EXPECT_EQ(AnimationFrameMs(200), 200u);
}

TEST(GifDecode, SampleAnimationAndDamagedLaterFrames) {
  Picture p = decode(testing::readSample("anim.gif"), true);
  ASSERT_TRUE(p) << "tests/data/pictures/anim.gif";
  ASSERT_EQ(p->frameCount, 3u);
  EXPECT_EQ(p->frames[2].delayMs, 300u);
  EXPECT_EQ(pixel(p->frames[0].pixels, 8, 3, 3), kRed);
  EXPECT_EQ(pixel(p->frames[1].pixels, 8, 3, 3), kBlue);
  EXPECT_EQ(pixel(p->frames[1].pixels, 8, 1, 1), kRed);
  EXPECT_EQ(pixel(p->frames[2].pixels, 8, 3, 3), kRed) << "the blue square was restored away";
  EXPECT_EQ(pixel(p->frames[2].pixels, 8, 5, 5), kGreen);
  // A single image animates as a still picture.
  Picture still = decode(testing::readSample("clear.gif"), true);
  ASSERT_TRUE(still);
  EXPECT_EQ(still->frameCount, 0u);
  // Damage in the third image (a cut in its coded data) leaves two frames.
  const auto a = gifImage(0, 0, 2, 1, {1, 1});
  const Bytes gif = testing::makeGif(2, 1, greyRamp(4), {a, a, a});
  Picture cut = decode(Bytes(gif.begin(), gif.end() - 8), true);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->frameCount, 2u);
}

TEST(GifDecode, CodesOutsideTheTableCutsAndShortDataAreNoPicture) {
  // 4 × 1 pixels of 2 bits: clear code 4, end code 5, 3-bit codes.
  const size_t codeStart = 13 + 12 + 10 + 1;
  auto withCodes = [&](Bytes codes) {
    Bytes gif = testing::makeGif(4, 1, greyRamp(4), {gifImage(0, 0, 4, 1, {})});
    gif.resize(codeStart);
    gif[codeStart - 1] = 2;
    gif.push_back(uint8_t(codes.size()));
    gif.insert(gif.end(), codes.begin(), codes.end());
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
  };
  EXPECT_STREQ(refusal(withCodes({4 | 7 << 3, 0})), "bad code") << "above the next free code, 6";
  EXPECT_STREQ(refusal(withCodes({4 | 6 << 3, 0})), "bad code") << "the next free code, first after a clear";
  // Clear, 1, 2 and the end code: the pixels the codes leave out are index 0.
  Picture p = decode(withCodes({4 | 1 << 3 | 2 << 6, 5 << 1}));
  ASSERT_TRUE(p);
  expectPixels(*p, {{grey(0x40), grey(0x80), kBlack, kBlack}});

  const Bytes good = testing::makeGif(4, 1, greyRamp(4), {gifImage(0, 0, 4, 1, {1, 2, 3, 1})});
  ASSERT_TRUE(decode(good));
  expectCutsRefused(good, 14, good.size() - 1);
  EXPECT_TRUE(decode(Bytes(good.begin(), good.end() - 1))) << "a missing trailer";
  EXPECT_STREQ(refusal(patched(good, codeStart - 1, 12, 1)), "code size");
  EXPECT_FALSE(decode(patched(good, codeStart, 200, 1))) << "a sub-block past the end";
  EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + 13 + 12))) << "a colour table to the end";
}

TEST(GifDecode, PixelsOutsideTheImageAreDroppedAndSizesLimited) {
  // Eight pixels coded for a 2 × 2 image.
  Picture p = decode(testing::makeGif(2, 2, greyRamp(4), {gifImage(0, 0, 2, 2, {1, 2, 3, 1, 2, 3, 3, 3})}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 1, 1), grey(0x40));
  EXPECT_FALSE(decode(testing::makeGif(1, 1, greyRamp(4), {gifImage(0, 0, 40000, 40000, {1})})));
  // A few coded bytes cannot fill 16000 × 16000 pixels: refused before allocating.
  EXPECT_STREQ(refusal(testing::makeGif(1, 1, greyRamp(4), {gifImage(0, 0, 16000, 16000, {1})})),
               "short image data");
  // One colour compresses best of all, and such a picture is still within bounds.
  const auto flatImage = gifImage(0, 0, 1200, 1000, std::vector<uint8_t>(1200000, 2));
  Picture flat = decode(testing::makeGif(1, 1, greyRamp(4), {flatImage}));
  ASSERT_TRUE(flat);
  EXPECT_EQ(pixel(*flat, 1199, 999), grey(0x80));
  // A screen of 65535 × 65535 cannot animate: its frames pass the limit together
  // and alone. The first image still shows, asked to animate or not.
  const auto dot = gifImage(0, 0, 1, 1, {1});
  const Bytes big = testing::makeGif(65535, 65535, greyRamp(4), {dot, dot});
  for (bool animate : {true, false}) {
    Picture still = decode(big, animate);
    ASSERT_TRUE(still) << "animate " << animate;
    EXPECT_EQ(still->width, 1u);
    EXPECT_EQ(still->flags & kPictureAnimated, 0u);
  }
}

}  // namespace
}  // namespace lw
