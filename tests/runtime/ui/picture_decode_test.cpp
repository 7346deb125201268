#include "runtime/ui/picture_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/runtime/ui/picture_test_files.h"

namespace lw {
namespace {

using testing::Bytes;

struct PictureFree {
  void operator()(DecodedPicture* p) const { FreePicture(p); }
};
using Picture = std::unique_ptr<DecodedPicture, PictureFree>;

Picture decode(const Bytes& b, bool animate = false, const char** reason = nullptr) {
  return Picture(DecodePicture(b.data(), b.size(), animate, reason));
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

// Every pixel of the picture against the expected 0xAARRGGBB values, top row first.
void expectPixels(const DecodedPicture& p, const std::vector<std::vector<uint32_t>>& rows) {
  ASSERT_EQ(p.height, rows.size());
  ASSERT_EQ(p.width, rows[0].size());
  for (uint32_t y = 0; y < p.height; ++y)
    for (uint32_t x = 0; x < p.width; ++x)
      ASSERT_EQ(hex(pixel(p, x, y)), hex(rows[y][x])) << "at " << x << "," << y;
}

// Colour channels within `tolerance` of the expected 0xRRGGBB (lossy formats).
void expectNear(uint32_t got, uint32_t want, int tolerance, const char* where) {
  for (int shift = 0; shift < 24; shift += 8) {
    int g = int(got >> shift & 0xFF), w = int(want >> shift & 0xFF);
    EXPECT_LE(abs(g - w), tolerance) << where << ": expected " << hex(want) << ", got " << hex(got);
  }
}

const uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

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
  // An error page sent instead of a picture.
  const char html[] = "<html><body>502</body></html>";
  EXPECT_EQ(DetectPictureFormat(reinterpret_cast<const uint8_t*>(html), sizeof html), kPictureUnknown);
  EXPECT_EQ(DetectPictureFormat(reinterpret_cast<const uint8_t*>("BM\0\0\0"), 5), kPictureUnknown);
}

TEST(PictureDecode, EmptyShortAndUnknownDataAreNoPicture) {
  const char* reason = nullptr;
  EXPECT_FALSE(DecodePicture(nullptr, 0, false, &reason));
  EXPECT_STREQ(reason, "empty");
  EXPECT_FALSE(decode({'B', 'M', 0, 0, 0}, false, &reason));
  EXPECT_STREQ(reason, "unknown format");
  EXPECT_FALSE(decode(Bytes(100, 'x'), false, &reason));
  EXPECT_STREQ(reason, "unknown format");
}

// ---------------------------------------------------------------- BMP

const std::vector<uint32_t> kFour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

TEST(BmpDecode, EveryDepthComesOutUprightWithItsColours) {
  // Three rows of distinct values, so a flipped or shifted row shows.
  const std::vector<std::vector<uint32_t>> idx = {{0, 1, 2, 3, 0}, {1, 1, 1, 1, 1}, {3, 2, 1, 0, 3}};
  const std::vector<std::vector<uint32_t>> want = {{kRed, kGreen, kBlue, kWhite, kRed},
                                                   {kGreen, kGreen, kGreen, kGreen, kGreen},
                                                   {kWhite, kBlue, kGreen, kRed, kWhite}};
  for (uint16_t bits : {4, 8}) {
    SCOPED_TRACE(bits);
    Picture p = decode(testing::makeBmp(idx, bits, kFour));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->kind, kPictureBmp);
    EXPECT_EQ(p->flags, 0u);
    expectPixels(*p, want);
  }
  std::vector<std::vector<uint32_t>> rgb(3, std::vector<uint32_t>(5));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) rgb[y][x] = kFour[idx[y][x]];
  Picture p24 = decode(testing::makeBmp(rgb, 24, {}));
  ASSERT_TRUE(p24);
  expectPixels(*p24, want);
  // 32 bits: the fourth byte is not alpha and is dropped.
  for (auto& row : rgb)
    for (auto& v : row) v |= 0x12000000;
  Picture p32 = decode(testing::makeBmp(rgb, 32, {}));
  ASSERT_TRUE(p32);
  expectPixels(*p32, want);
  EXPECT_EQ(p32->flags & kPictureHasAlpha, 0u);
}

TEST(BmpDecode, OneBitRowsWiderThanAByte) {
  std::vector<std::vector<uint32_t>> rows = {std::vector<uint32_t>(11, 0), std::vector<uint32_t>(11, 1)};
  rows[0][10] = 1;
  rows[1][8] = 0;
  Picture p = decode(testing::makeBmp(rows, 1, {0x000000, 0xFFFFFF}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 9, 0), kBlack);
  EXPECT_EQ(pixel(*p, 10, 0), kWhite);
  EXPECT_EQ(pixel(*p, 8, 1), kBlack);
  EXPECT_EQ(pixel(*p, 7, 1), kWhite);
}

TEST(BmpDecode, TopDownBitmapIsShownUpright) {
  const std::vector<std::vector<uint32_t>> idx = {{0, 0}, {1, 1}, {2, 2}};
  Picture up = decode(testing::makeBmp(idx, 8, kFour, false));
  Picture down = decode(testing::makeBmp(idx, 8, kFour, true));
  ASSERT_TRUE(up && down);
  EXPECT_EQ(pixel(*down, 0, 0), kRed);
  EXPECT_EQ(pixel(*down, 0, 2), kBlue);
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
}

TEST(BmpDecode, SampleFileWithLongHeader) {
  Picture p = decode(testing::readSample("quad.bmp"));
  ASSERT_TRUE(p) << "tests/data/pictures/quad.bmp";
  ASSERT_EQ(p->width, 16u);
  ASSERT_EQ(p->height, 12u);
  EXPECT_EQ(pixel(*p, 0, 0), kRed);
  EXPECT_EQ(pixel(*p, 15, 0), kGreen);
  EXPECT_EQ(pixel(*p, 0, 11), kBlue);
  EXPECT_EQ(pixel(*p, 15, 11), kWhite);
}

TEST(BmpDecode, RefusesVariantsOutsideTheList) {
  const Bytes good = testing::makeBmp({{0, 1}, {2, 3}}, 8, kFour);
  const char* reason;
  Bytes b = good;
  b[30] = 1;  // run-length compressed
  EXPECT_FALSE(decode(b, false, &reason));
  EXPECT_STREQ(reason, "compressed");
  b = good;
  b[28] = 16;
  EXPECT_FALSE(decode(b, false, &reason));
  EXPECT_STREQ(reason, "bit count");
  b = good;
  testing::set32(b, 14, 12);  // the old 12-byte header
  EXPECT_FALSE(decode(b));
}

TEST(BmpDecode, HostileSizesAndOffsetsAreNoPicture) {
  const Bytes good = testing::makeBmp({{0, 1}, {2, 3}}, 8, kFour);
  ASSERT_TRUE(decode(good));
  const char* reason;
  for (size_t cut = 1; cut < good.size(); ++cut)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  Bytes b = good;
  testing::set32(b, 10, 0xFFFFFFF0);  // pixel data offset past the end
  EXPECT_FALSE(decode(b, false, &reason));
  EXPECT_STREQ(reason, "short pixel data");
  b = good;
  testing::set32(b, 46, 0x40000000);  // colours used
  EXPECT_FALSE(decode(b));
  b = good;
  testing::set32(b, 46, 200);  // a table longer than the file
  EXPECT_FALSE(decode(b, false, &reason));
  EXPECT_STREQ(reason, "short colour table");
  b = good;
  testing::set32(b, 22, 0x80000000);  // the most negative height
  EXPECT_FALSE(decode(b));
  b = good;
  testing::set32(b, 14, 0x7FFFFFFF);  // header size
  EXPECT_FALSE(decode(b));
  // Sizes above the limits, whatever the file holds.
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{16385, 1}, {1, 16385}, {16384, 16384}, {0, 5}, {5, 0}}) {
    b = good;
    testing::set32(b, 18, w);
    testing::set32(b, 22, h);
    EXPECT_FALSE(decode(b, false, &reason)) << w << "x" << h;
  }
  // Width × stride large enough to wrap 32-bit arithmetic.
  b = good;
  b[28] = 32;
  testing::set32(b, 18, 16384);
  testing::set32(b, 22, 16384);
  EXPECT_FALSE(decode(b));
}

// ---------------------------------------------------------------- icons and cursors

testing::IconImage solidIcon(uint32_t size, uint16_t bits, uint32_t index) {
  testing::IconImage image;
  image.rows.assign(size, std::vector<uint32_t>(size, index));
  image.bits = bits;
  image.palette = bits <= 8 ? std::vector<uint32_t>(size_t(1) << bits, 0x808080) : std::vector<uint32_t>();
  if (bits <= 8) image.palette[1] = 0x00FF00;
  image.colourCount = bits == 4 ? 16 : 0;
  return image;
}

TEST(IconDecode, TakesTheFirst32PixelImageOfAtLeast16Colours) {
  testing::IconImage two = solidIcon(32, 1, 0);
  two.colourCount = 2;  // 32 pixels but too few colours
  testing::IconImage wanted = solidIcon(32, 8, 1);
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
  EXPECT_EQ(p->flags & kPictureHasAlpha, kPictureHasAlpha);
  // The image bytes are kept for making a platform icon.
  ASSERT_EQ(p->iconImageSize, testing::iconImageBytes(wanted).size());
  EXPECT_EQ(memcmp(p->iconImage, testing::iconImageBytes(wanted).data(), p->iconImageSize), 0);
}

TEST(IconDecode, WithoutA32PixelImageTakesTheLast) {
  Picture p = decode(testing::makeIcon({solidIcon(16, 4, 1), solidIcon(24, 4, 0)}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 24u);
  EXPECT_EQ(pixel(*p, 3, 3), 0xFF808080);
  EXPECT_EQ(p->flags, 0u) << "no mask bit set: opaque";
}

TEST(IconDecode, ThirtyTwoBitImagesUseTheirAlphaAndMayLeaveOutTheMask) {
  testing::IconImage image;
  image.bits = 32;
  image.rows.assign(32, std::vector<uint32_t>(32, 0xFF112233));
  image.rows[5][6] = 0x80445566;
  image.rows[31][31] = 0x00000000;
  image.mask.assign(32, std::vector<uint32_t>(32, 1));  // ignored: the image has alpha
  Bytes file = testing::makeIcon({image});
  Picture p = decode(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), 0xFF112233u);
  EXPECT_EQ(pixel(*p, 6, 5), 0x80445566u);
  EXPECT_EQ(pixel(*p, 31, 31), 0u);
  // The same without the mask rows (128 bytes at the end).
  file.resize(file.size() - 128);
  testing::set32(file, 6 + 8, uint32_t(file.size() - 22));
  Picture q = decode(file);
  ASSERT_TRUE(q);
  EXPECT_EQ(memcmp(p->pixels, q->pixels, p->size), 0);
}

TEST(IconDecode, ThirtyTwoBitImageWithoutAlphaUsesTheMask) {
  testing::IconImage image;
  image.bits = 32;
  image.rows.assign(32, std::vector<uint32_t>(32, 0x00FF0000));
  image.mask.assign(32, std::vector<uint32_t>(32, 0));
  image.mask[31][0] = 1;
  Picture p = decode(testing::makeIcon({image}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 1, 31), kRed);
  EXPECT_EQ(pixel(*p, 0, 31), 0x00FF0000u);
}

TEST(IconDecode, SixteenBitImage) {
  // Icons may hold 5-5-5 images, which a BMP file of ours may not.
  testing::IconImage image;
  image.bits = 16;
  image.rows.assign(32, std::vector<uint32_t>(32, 31u << 10));  // red
  image.rows[0][1] = 31u << 5 | 16;                              // green, some blue
  Picture p = decode(testing::makeIcon({image}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), kRed);
  EXPECT_EQ(pixel(*p, 1, 0), 0xFF00FF84u);
  EXPECT_EQ(p->iconBitCount, 16);
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
  EXPECT_EQ(p->iconBitCount, 4);
  EXPECT_EQ(pixel(*p, 31, 31), kGreen);
}

TEST(IconDecode, PngImageInsideAnIcon) {
  testing::IconImage image;
  image.png = testing::readSample("alpha.png");
  ASSERT_FALSE(image.png.empty());
  Picture p = decode(testing::makeIcon({image}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, kPictureIcon);
  EXPECT_EQ(p->width, 8u);
  EXPECT_EQ(pixel(*p, 0, 0), kRed);
  EXPECT_EQ(pixel(*p, 0, 7) >> 24, 0u);
}

TEST(IconDecode, SampleFileWithThreeSizes) {
  // All three images are 32-bit, so their colour count is 0: the 32-pixel one is taken.
  Picture p = decode(testing::readSample("multi.ico"));
  ASSERT_TRUE(p) << "tests/data/pictures/multi.ico";
  EXPECT_EQ(p->width, 32u);
  EXPECT_EQ(p->height, 32u);
  EXPECT_EQ(pixel(*p, 0, 10) >> 24, 0u);
  EXPECT_EQ(pixel(*p, 1, 10), 0xFFFFFF00u);
}

TEST(IconDecode, HostileDirectoriesAreNoPicture) {
  const Bytes good = testing::makeIcon({solidIcon(16, 4, 1), solidIcon(32, 8, 1)});
  ASSERT_TRUE(decode(good));
  for (size_t cut = 8; cut < good.size(); ++cut)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  Bytes b = good;
  b[4] = 200;  // more entries than the file holds
  EXPECT_FALSE(decode(b));
  const size_t second = 6 + 16;
  b = good;
  testing::set32(b, second + 12, 0xFFFFFF00);  // image offset
  EXPECT_FALSE(decode(b));
  b = good;
  testing::set32(b, second + 8, 0xFFFFFFFF);  // image size
  EXPECT_FALSE(decode(b));
  const size_t header = testing::get32(good, second + 12);
  b = good;
  testing::set32(b, header + 8, 0x7FFFFFFF);  // bitmap height
  EXPECT_FALSE(decode(b));
  b = good;
  testing::set32(b, header + 32, 0x01000000);  // colours used
  EXPECT_FALSE(decode(b));
  b = good;
  testing::set32(b, header, 0xFFFFFFFF);  // header size
  EXPECT_FALSE(decode(b));
}

// ---------------------------------------------------------------- GIF

std::vector<uint32_t> greyRamp(size_t n) {
  std::vector<uint32_t> p(n);
  for (size_t i = 0; i < n; ++i) p[i] = uint32_t(i * 0x010101 * (256 / n));
  return p;
}

// A deterministic noisy picture: long enough to fill the string table and force
// codes of every width up to 12 bits.
std::vector<uint8_t> noise(size_t n, uint32_t seed, uint32_t levels) {
  std::vector<uint8_t> v(n);
  for (auto& x : v) {
    seed = seed * 1103515245 + 12345;
    x = uint8_t((seed >> 16) % levels);
  }
  return v;
}

TEST(GifDecode, CodedPixelsComeBackExactly) {
  for (int minBits : {2, 4, 8}) {
    SCOPED_TRACE(minBits);
    testing::GifFrame f;
    f.width = 120;
    f.height = 90;
    f.minBits = minBits;
    f.pixels = noise(120 * 90, 7u + minBits, 1u << minBits);
    const auto palette = greyRamp(256);
    Picture p = decode(testing::makeGif(120, 90, palette, {f}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->kind, kPictureGif);
    ASSERT_EQ(p->width, 120u);
    for (size_t i = 0; i < f.pixels.size(); ++i)
      ASSERT_EQ(pixel(*p, uint32_t(i % 120), uint32_t(i / 120)), 0xFF000000 | palette[f.pixels[i]]) << i;
  }
}

TEST(GifDecode, LongRunsMakeLongStrings) {
  testing::GifFrame f;
  f.width = 200;
  f.height = 200;
  f.pixels.assign(200 * 200, 3);
  f.pixels.back() = 1;
  Picture p = decode(testing::makeGif(200, 200, greyRamp(4), {f}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 199, 198), 0xFFC0C0C0);
  EXPECT_EQ(pixel(*p, 199, 199), 0xFF404040);
}

TEST(GifDecode, InterlacedRowsLandInPlace) {
  for (uint16_t height : {1, 2, 3, 5, 9, 16, 17}) {
    SCOPED_TRACE(height);
    testing::GifFrame f;
    f.width = 3;
    f.height = height;
    f.interlaced = true;
    for (uint16_t y = 0; y < height; ++y) f.pixels.insert(f.pixels.end(), 3, uint8_t(y));
    Picture p = decode(testing::makeGif(3, height, greyRamp(32), {f}));
    ASSERT_TRUE(p);
    for (uint32_t y = 0; y < height; ++y) ASSERT_EQ(pixel(*p, 2, y), 0xFF000000 | (y * 8 * 0x010101)) << y;
  }
  Picture sample = decode(testing::readSample("rows.gif"));
  ASSERT_TRUE(sample) << "tests/data/pictures/rows.gif";
  for (uint32_t y = 0; y < 16; ++y)
    EXPECT_EQ(pixel(*sample, 5, y), 0xFF000000 | (16 * y) << 16 | (255 - 16 * y) << 8 | 8 * y) << y;
}

TEST(GifDecode, LocalTableAndTransparentIndex) {
  testing::GifFrame f;
  f.width = 2;
  f.height = 1;
  f.pixels = {0, 1};
  f.localPalette = {0x102030, 0x405060};
  f.transparent = 1;
  Picture p = decode(testing::makeGif(2, 1, greyRamp(2), {f}));
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), 0xFF102030u);
  EXPECT_EQ(pixel(*p, 1, 0), 0x00405060u) << "transparent, keeping its colour";
  EXPECT_EQ(p->flags, kPictureHasAlpha | kPictureHasTransparentColour);
  EXPECT_EQ(p->transparentColour, 0x605040u) << "red in the low byte";

  Picture sample = decode(testing::readSample("clear.gif"));
  ASSERT_TRUE(sample) << "tests/data/pictures/clear.gif";
  EXPECT_EQ(pixel(*sample, 0, 0), kBlack);
  EXPECT_EQ(pixel(*sample, 3, 3) >> 24, 0u);
}

TEST(GifDecode, WithoutAnimationOnlyTheFirstImageAtItsOwnSize) {
  testing::GifFrame a, b;
  a.left = 1, a.top = 1, a.width = 2, a.height = 2, a.pixels = {1, 1, 1, 1};
  b.width = 4, b.height = 4, b.pixels.assign(16, 2);
  Picture p = decode(testing::makeGif(4, 4, greyRamp(4), {a, b}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 2u);
  EXPECT_EQ(p->height, 2u);
  EXPECT_EQ(p->frameCount, 0u);
  EXPECT_EQ(pixel(*p, 0, 0), 0xFF404040u);
}

TEST(GifDecode, ExtensionsAreSteppedOver) {
  testing::GifFrame f;
  f.width = 1, f.height = 1, f.pixels = {1};
  Bytes gif = testing::makeGif(1, 1, greyRamp(2), {f});
  // Comment, application (with its 11-byte identifier) and plain text extensions
  // before the image.
  const Bytes extensions = {0x21, 0xFE, 3, 'a', 'b', 'c', 0,                                         //
                            0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',  //
                            3, 1, 0, 0, 0,                                                          //
                            0x21, 0x01, 12, 0, 0, 0, 0, 1, 0, 1, 0, 8, 8, 1, 0, 2, 'h', 'i', 0};
  gif.insert(gif.begin() + 13 + 6, extensions.begin(), extensions.end());
  Picture p = decode(gif);
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), 0xFF808080u);
  // An unknown label fails.
  gif[13 + 6 + 1] = 0x77;
  const char* reason;
  EXPECT_FALSE(decode(gif, false, &reason));
  EXPECT_STREQ(reason, "unknown extension");
}

TEST(GifDecode, AnimationFramesWithDisposalAndTransparency) {
  // Screen 4×2 with palette 0 black, 1 red, 2 green, 3 blue.
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  testing::GifFrame bg, keep, restore, clear, last;
  bg.width = 4, bg.height = 2, bg.pixels.assign(8, 1), bg.delayCs = 5;  // red, kept
  // Green at (1,0)-(2,0), index 0 transparent: the red shows through at (2,0).
  keep.left = 1, keep.width = 2, keep.height = 1, keep.pixels = {2, 0}, keep.transparent = 0, keep.delayCs = 10;
  // Blue over column 0, then restored to what was before it.
  restore.width = 1, restore.height = 2, restore.pixels = {3, 3}, restore.disposal = 3, restore.delayCs = 20;
  // Blue over column 3, then cleared to the (transparent) background.
  clear.left = 3, clear.width = 1, clear.height = 2, clear.pixels = {3, 3}, clear.disposal = 2;
  // A fully transparent image to show the screen after that.
  last.width = 1, last.height = 1, last.pixels = {0}, last.transparent = 0;
  Picture p = decode(testing::makeGif(4, 2, palette, {bg, keep, restore, clear, last}), true);
  ASSERT_TRUE(p);
  ASSERT_EQ(p->frameCount, 5u);
  EXPECT_EQ(p->flags & kPictureAnimated, kPictureAnimated);
  EXPECT_EQ(p->width, 4u);
  EXPECT_EQ(p->height, 2u);
  EXPECT_EQ(p->pixels, p->frames[0].pixels);
  const uint32_t R = kRed, G = kGreen, B = kBlue;
  const std::vector<std::vector<std::vector<uint32_t>>> want = {
      {{R, R, R, R}, {R, R, R, R}},
      {{R, G, R, R}, {R, R, R, R}},
      {{B, G, R, R}, {B, R, R, R}},
      {{R, G, R, B}, {R, R, R, B}},
      {{R, G, R, 0}, {R, R, R, 0}},
  };
  const uint32_t delays[] = {50, 100, 200, 0, 0};
  for (uint32_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p->frames[i].delayMs, delays[i]);
    for (uint32_t y = 0; y < 2; ++y)
      for (uint32_t x = 0; x < 4; ++x)
        EXPECT_EQ(hex(pixel(p->frames[i].pixels, 4, x, y)), hex(want[i][y][x])) << x << "," << y;
  }
  EXPECT_EQ(AnimationFrameMs(0), 100u);
  EXPECT_EQ(AnimationFrameMs(10), 100u);
  EXPECT_EQ(AnimationFrameMs(200), 200u);
}

TEST(GifDecode, SampleAnimation) {
  Picture p = decode(testing::readSample("anim.gif"), true);
  ASSERT_TRUE(p) << "tests/data/pictures/anim.gif";
  ASSERT_EQ(p->frameCount, 3u);
  EXPECT_EQ(p->frames[0].delayMs, 100u);
  EXPECT_EQ(p->frames[1].delayMs, 200u);
  EXPECT_EQ(p->frames[2].delayMs, 300u);
  EXPECT_EQ(pixel(p->frames[0].pixels, 8, 3, 3), kRed);
  EXPECT_EQ(pixel(p->frames[1].pixels, 8, 3, 3), kBlue);
  EXPECT_EQ(pixel(p->frames[1].pixels, 8, 1, 1), kRed);
  EXPECT_EQ(pixel(p->frames[2].pixels, 8, 3, 3), kRed) << "the blue square was restored away";
  EXPECT_EQ(pixel(p->frames[2].pixels, 8, 5, 5), kGreen);
  // A single-image file animates as a still picture.
  Picture still = decode(testing::readSample("clear.gif"), true);
  ASSERT_TRUE(still);
  EXPECT_EQ(still->frameCount, 0u);
}

TEST(GifDecode, DamagedLaterFrameEndsTheAnimationThere) {
  testing::GifFrame a, b;
  a.width = b.width = 2, a.height = b.height = 1, a.pixels = {1, 1}, b.pixels = {2, 2};
  Bytes gif = testing::makeGif(2, 1, greyRamp(4), {a, b, a});
  // Cut inside the third image's coded data.
  Picture p = decode(Bytes(gif.begin(), gif.end() - 8), true);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->frameCount, 2u);
  Picture whole = decode(gif, true);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->frameCount, 3u);
}

TEST(GifDecode, ShortPixelDataLeavesTheRestAtIndexZero) {
  testing::GifFrame f;
  f.width = 4, f.height = 1, f.pixels = {1, 2, 3, 1};
  Bytes gif = testing::makeGif(4, 1, greyRamp(4), {f});
  // Replace the coded data by: clear, 1, 2, end (3-bit codes for 2-bit pixels).
  const size_t codeStart = 13 + 12 + 10 + 1;
  Bytes codes = {2, uint8_t(4 | 1 << 3 | (2 & 3) << 6), uint8_t(2 >> 2 | 5 << 1), 0, 0x3B};
  gif.resize(codeStart);
  gif[codeStart - 1] = 2;
  gif.insert(gif.end(), codes.begin(), codes.end());
  Picture p = decode(gif);
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 0, 0), 0xFF404040u);
  EXPECT_EQ(pixel(*p, 1, 0), 0xFF808080u);
  EXPECT_EQ(pixel(*p, 2, 0), 0xFF000000u);
}

TEST(GifDecode, BadCodesAndCutsAreNoPicture) {
  const auto palette = greyRamp(4);
  testing::GifFrame f;
  f.width = 4, f.height = 1, f.minBits = 2;
  const size_t codeStart = 13 + 12 + 10 + 1;
  auto withCodes = [&](Bytes codes) {
    Bytes gif = testing::makeGif(4, 1, palette, {f});
    gif.resize(codeStart);
    gif[codeStart - 1] = 2;
    gif.push_back(uint8_t(codes.size()));
    gif.insert(gif.end(), codes.begin(), codes.end());
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
  };
  const char* reason;
  // clear (4), then code 7: above the next free code (6).
  EXPECT_FALSE(decode(withCodes({uint8_t(4 | 7 << 3), 0}), false, &reason));
  EXPECT_STREQ(reason, "bad code");
  // clear, then code 6, the next free code, with nothing before it.
  EXPECT_FALSE(decode(withCodes({uint8_t(4 | 6 << 3), 0}), false, &reason));
  EXPECT_STREQ(reason, "bad code");

  f.pixels = noise(4, 3, 4);
  const Bytes good = testing::makeGif(4, 1, palette, {f});
  ASSERT_TRUE(decode(good));
  // Every cut that removes part of the image data fails (a missing trailer does not).
  for (size_t cut = 14; cut < good.size() - 1; ++cut)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  EXPECT_TRUE(decode(Bytes(good.begin(), good.end() - 1)));
  Bytes b = good;
  b[codeStart - 1] = 12;  // minimum code size
  EXPECT_FALSE(decode(b, false, &reason));
  EXPECT_STREQ(reason, "code size");
  b = good;
  b[codeStart] = 200;  // a sub-block past the end
  EXPECT_FALSE(decode(b));
  // A global colour table that reaches the end of the data.
  EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + 13 + 12)));
}

TEST(GifDecode, PixelsOutsideTheImageAreDroppedAndSizesLimited) {
  testing::GifFrame f;
  f.width = 2, f.height = 2, f.pixels = {1, 2, 3, 1, 2, 3, 3, 3};  // twice the pixels
  Bytes gif = testing::makeGif(2, 2, greyRamp(4), {f});
  // makeGif codes all eight pixels; the height says four.
  Picture p = decode(gif);
  ASSERT_TRUE(p);
  EXPECT_EQ(pixel(*p, 1, 1), 0xFF404040u);

  const char* reason;
  testing::GifFrame huge;
  huge.width = 40000, huge.height = 40000, huge.pixels = {1};
  EXPECT_FALSE(decode(testing::makeGif(1, 1, greyRamp(4), {huge})));
  // A few coded bytes cannot fill 16000 × 16000 pixels: refused before allocating.
  huge.width = huge.height = 16000;
  EXPECT_FALSE(decode(testing::makeGif(1, 1, greyRamp(4), {huge}), false, &reason));
  EXPECT_STREQ(reason, "short image data");
  // One colour compresses best of all, and such a picture still fits the bound.
  testing::GifFrame flat;
  flat.width = 1200, flat.height = 1000, flat.pixels.assign(1200 * 1000, 2);
  Picture flatPicture = decode(testing::makeGif(1200, 1000, greyRamp(4), {flat}));
  ASSERT_TRUE(flatPicture);
  EXPECT_EQ(pixel(*flatPicture, 1199, 999), 0xFF808080u);
  testing::GifFrame small;
  small.width = 1, small.height = 1, small.pixels = {1};
  // A screen of 65535 × 65535 cannot animate; the first image alone still shows.
  Bytes big = testing::makeGif(65535, 65535, greyRamp(4), {small, small});
  EXPECT_FALSE(decode(big, true));
  EXPECT_TRUE(decode(big, false));
}

// ---------------------------------------------------------------- PCX

TEST(PcxDecode, EightBitsWithTheTableAtTheEnd) {
  // 3 × 2 pixels, rows of 4 bytes (one byte of padding).
  Bytes b = testing::pcxHeader(5, 8, 3, 2, 4);
  const Bytes raw = {0, 1, 2, 9, 3, 3, 3, 9};
  Bytes runs = testing::pcxRuns(raw);
  b.insert(b.end(), runs.begin(), runs.end());
  b.push_back(12);
  Bytes table(768, 0);
  const uint8_t rgb[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  for (int i = 0; i < 4; ++i) memcpy(&table[3 * i], rgb[i], 3);
  b.insert(b.end(), table.begin(), table.end());
  Picture p = decode(b);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, kPicturePcx8);
  expectPixels(*p, {{kRed, kGreen, kBlue}, {kWhite, kWhite, kWhite}});

  Picture sample = decode(testing::readSample("quad.pcx"));
  ASSERT_TRUE(sample) << "tests/data/pictures/quad.pcx";
  ASSERT_EQ(sample->width, 16u);
  EXPECT_EQ(pixel(*sample, 0, 0), kRed);
  EXPECT_EQ(pixel(*sample, 15, 0), kGreen);
  EXPECT_EQ(pixel(*sample, 0, 11), kBlue);
  EXPECT_EQ(pixel(*sample, 15, 11), kWhite);
}

TEST(PcxDecode, WithoutATableIndicesAreGrey) {
  // 50 × 1: one byte, then a run of 49 (the longest runs are 63).
  Bytes b = testing::pcxHeader(5, 8, 50, 1, 50);
  b.insert(b.end(), {0x40, 0xC0 | 49, 0xC8});
  Picture p = decode(b);
  ASSERT_TRUE(p);
  std::vector<uint32_t> want(50, 0xFFC8C8C8);
  want[0] = 0xFF404040;
  expectPixels(*p, {want});
}

TEST(PcxDecode, OneBitRowsAndRunsAcrossRows) {
  // 10 × 3 at 1 bit, 2 bytes a row; one run covers the end of row 0 and all of row 1.
  Bytes b = testing::pcxHeader(3, 1, 10, 3, 2);
  b.insert(b.end(), {0x81, 0xC3, 0xFF, 0x00, 0x40});
  Picture p = decode(b);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, kPicturePcx1);
  const uint32_t K = kBlack, W = kWhite;
  expectPixels(*p, {{W, K, K, K, K, K, K, W, W, W},
                    {W, W, W, W, W, W, W, W, W, W},
                    {K, K, K, K, K, K, K, K, K, W}});
}

TEST(PcxDecode, VariantsOutsideTheListAndCutsAreNoPicture) {
  Bytes good = testing::pcxHeader(5, 8, 3, 2, 4);
  const Bytes raw = {0, 1, 2, 9, 3, 3, 3, 9};
  good.insert(good.end(), raw.begin(), raw.end());
  ASSERT_TRUE(decode(good));
  for (size_t cut = 8; cut < good.size(); ++cut)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  Bytes b = good;
  b[65] = 3;  // three planes of 8 bits
  EXPECT_FALSE(decode(b));
  b = good;
  b[66] = 2;  // rows shorter than the width
  EXPECT_FALSE(decode(b));
  b = good;
  b[8] = 0, b[4] = 1;  // right before left
  EXPECT_FALSE(decode(b));
  b = good;
  b[8] = b[9] = b[10] = b[11] = 0xFF;  // 65536 × 65536
  EXPECT_FALSE(decode(b));
  b = good;
  b[8] = 0x00, b[9] = 0x20, b[10] = 0x00, b[11] = 0x20, b[66] = 0x01, b[67] = 0x20;  // 8193 × 8193
  const char* reason;
  EXPECT_FALSE(decode(b, false, &reason));
  EXPECT_STREQ(reason, "short pixel data") << "refused before allocating";
}

// ---------------------------------------------------------------- PNG and JPEG

TEST(PngDecode, AlphaIsKeptAndRecorded) {
  Picture p = decode(testing::readSample("alpha.png"));
  ASSERT_TRUE(p) << "tests/data/pictures/alpha.png";
  EXPECT_EQ(p->kind, kPicturePng);
  EXPECT_EQ(p->flags, kPictureHasAlpha);
  EXPECT_EQ(pixel(*p, 0, 0), kRed);
  const uint32_t half = pixel(*p, 7, 0);
  EXPECT_EQ(half & 0xFFFFFF, 0x00FF00u);
  EXPECT_NEAR(double(half >> 24), 128, 1);
  EXPECT_EQ(pixel(*p, 0, 7) >> 24, 0u);
  EXPECT_EQ(pixel(*p, 7, 7), kWhite);
}

TEST(PngDecode, DamageIsNoPicture) {
  const Bytes good = testing::readSample("alpha.png");
  ASSERT_FALSE(good.empty());
  // Cuts before the end of the image data (the file has its one IDAT chunk at 111-162).
  for (size_t cut : {8, 20, 33, 60, 120, 130, 140})
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  Bytes b = good;
  b[16] = 0x7F;  // width, without fixing the header's check value
  EXPECT_FALSE(decode(b));
}

TEST(JpegDecode, ColourAndGrey) {
  Picture colour = decode(testing::readSample("colour.jpg"));
  ASSERT_TRUE(colour) << "tests/data/pictures/colour.jpg";
  EXPECT_EQ(colour->kind, kPictureJpeg);
  ASSERT_EQ(colour->width, 32u);
  expectNear(pixel(*colour, 4, 4), 0xFF0000, 12, "top left");
  expectNear(pixel(*colour, 27, 4), 0x00FF00, 12, "top right");
  expectNear(pixel(*colour, 4, 27), 0x0000FF, 12, "bottom left");
  expectNear(pixel(*colour, 27, 27), 0xFFFFFF, 12, "bottom right");
  EXPECT_EQ(colour->flags, 0u);

  Picture grey = decode(testing::readSample("grey.jpg"));
  ASSERT_TRUE(grey) << "tests/data/pictures/grey.jpg";
  const uint32_t levels[4] = {0, 85, 170, 255};
  for (int q = 0; q < 4; ++q) {
    const uint32_t v = pixel(*grey, q % 2 ? 27 : 4, q / 2 ? 27 : 4);
    EXPECT_EQ(v >> 24, 255u);
    EXPECT_EQ(v & 0xFF, v >> 8 & 0xFF) << "grey widens to three equal bytes";
    EXPECT_EQ(v & 0xFF, v >> 16 & 0xFF);
    EXPECT_NEAR(double(v & 0xFF), levels[q], 4);
  }
}

TEST(JpegDecode, DamageIsNoPicture) {
  const Bytes good = testing::readSample("colour.jpg");
  ASSERT_FALSE(good.empty());
  for (size_t cut = 2; cut < good.size() - 2; cut += 7)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut))) << "cut to " << cut;
  // Without its end marker the picture is whole and still shows.
  EXPECT_TRUE(decode(Bytes(good.begin(), good.end() - 2)));
  Bytes garbage = {0xFF, 0xD8, 0xFF, 0xE0};
  garbage.resize(64, 0xAB);
  EXPECT_FALSE(decode(garbage));
}

}  // namespace
}  // namespace lw
