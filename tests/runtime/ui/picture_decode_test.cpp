#include "runtime/ui/picture_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/runtime/ui/picture_test_files.h"

namespace lw {
namespace {

using testing::Bytes;
using Rows = std::vector<std::vector<uint32_t>>;

struct PictureFree {
  void operator()(DecodedPicture* p) const { FreePicture(p); }
};
using Picture = std::unique_ptr<DecodedPicture, PictureFree>;

Picture decode(const Bytes& b, bool animate = false, const char** reason = nullptr) {
  return Picture(DecodePicture(b.data(), b.size(), animate, reason));
}
const char* refusal(const Bytes& b, bool animate = false) {
  const char* reason = nullptr;
  return decode(b, animate, &reason) ? "decoded" : reason;
}
// A copy of b with `width` bytes at `at` replaced by v, little-endian.
Bytes patched(Bytes b, size_t at, uint32_t v, int width = 4) {
  for (int i = 0; i < width; ++i) b[at + i] = uint8_t(v >> (8 * i));
  return b;
}
// Every cut of `good` from `from` to `to` bytes long is no picture.
void expectCutsRefused(const Bytes& good, size_t from, size_t to, bool animate = false) {
  for (size_t cut = from; cut < to; ++cut)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut), animate)) << "cut to " << cut;
}

// A pixel as 0xAARRGGBB, from the picture's blue, green, red, alpha bytes.
uint32_t pixel(const uint8_t* pixels, uint32_t width, uint32_t x, uint32_t y) {
  const uint8_t* p = pixels + (size_t(y) * width + x) * 4;
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
uint32_t pixel(const DecodedPicture& p, uint32_t x, uint32_t y) { return pixel(p.pixels, p.width, x, y); }
std::string hex(uint32_t v) {
  char s[16];
  snprintf(s, sizeof s, "%08X", v);
  return s;
}
// Every pixel against the expected 0xAARRGGBB values, top row first.
void expectPixels(const uint8_t* pixels, uint32_t width, const Rows& rows) {
  for (uint32_t y = 0; y < rows.size(); ++y)
    for (uint32_t x = 0; x < width; ++x)
      ASSERT_EQ(hex(pixel(pixels, width, x, y)), hex(rows[y][x])) << "at " << x << "," << y;
}
void expectPixels(const DecodedPicture& p, const Rows& rows) {
  ASSERT_EQ(p.height, rows.size());
  ASSERT_EQ(p.width, rows[0].size());
  expectPixels(p.pixels, p.width, rows);
}
// Each colour channel within `tolerance` of the expected 0xRRGGBB (lossy formats).
void expectNear(uint32_t got, uint32_t want, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    EXPECT_LE(abs(int(got >> shift & 0xFF) - int(want >> shift & 0xFF)), tolerance)
        << "expected " << hex(want) << ", got " << hex(got);
}

const uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
const std::vector<uint32_t> kFour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// The sample quarters: red, green (top), blue, white (bottom).
void expectQuarters(const DecodedPicture& p) {
  EXPECT_EQ(pixel(p, 0, 0), kRed);
  EXPECT_EQ(pixel(p, p.width - 1, 0), kGreen);
  EXPECT_EQ(pixel(p, 0, p.height - 1), kBlue);
  EXPECT_EQ(pixel(p, p.width - 1, p.height - 1), kWhite);
}

// ---------------------------------------------------------------- detection

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

// ---------------------------------------------------------------- BMP

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

// ---------------------------------------------------------------- icons and cursors

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

// ---------------------------------------------------------------- GIF

std::vector<uint32_t> greyRamp(size_t n) {
  std::vector<uint32_t> p(n);
  for (size_t i = 0; i < n; ++i) p[i] = uint32_t(i * 0x010101 * (256 / n));
  return p;
}
uint32_t grey(uint32_t level) { return 0xFF000000 | level * 0x010101; }

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

// ---------------------------------------------------------------- PCX

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

// ---------------------------------------------------------------- PNG and JPEG

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
