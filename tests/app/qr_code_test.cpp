// The tool's own QR code: the pictures it makes read back as their text with a real
// reader (natively), sit whole-pixel and centred in the picture box at every display
// scale, with modules that grow with the scale, and a text no QR code holds gets no
// picture.
#include "app/qr_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/core/values/memory.h"
#include "runtime/picture/decode.h"
#include "runtime/ui/scale/display_scale.h"
#include "tests/support/qr_reader.h"
#include "tests/support/share_addresses.h"

namespace {

using app::kQrPictureSide;

// The picture's pixels as grey bytes (0 black, 255 white), top row first.
std::vector<uint8_t> greyOf(lw::ByteSet bmp, uint32_t* side) {
  std::vector<uint8_t> grey;
  lw::DecodedPicture* p = lw::DecodePicture(lw::byteSetData(bmp), lw::byteSetLength(bmp));
  if (!p) return grey;
  *side = p->width == p->height ? p->width : 0;
  for (size_t i = 0; i < size_t(p->width) * p->height; ++i) grey.push_back(p->pixels[i * 4]);
  lw::FreePicture(p);
  return grey;
}

#ifdef LINKWRIGHT_QR_READER
// What a reader makes of the picture, shown `zoom` screen pixels per picture pixel
// (a camera sees a 1-pixel module as several).
std::string readBack(const std::vector<uint8_t>& grey, uint32_t side, uint32_t zoom) {
  const uint32_t big = side * zoom;
  std::vector<uint8_t> shown(size_t(big) * big);
  for (uint32_t y = 0; y < big; ++y)
    for (uint32_t x = 0; x < big; ++x) shown[size_t(y) * big + x] = grey[size_t(y / zoom) * side + x / zoom];
  return lw::testing::ReadQrCode(shown, big, big);
}
#endif

TEST(QrCode, PicturesReadBackAsTheirTextWholePixelAndCentred) {
  struct Case {
    const char* what;
    std::string ansi;  // as 编辑框生成 holds it (GBK)
    std::string utf8;  // what a phone reads
  };
  const std::string long2000 = [] {
    std::string s = "http://example.org/long?";
    for (int i = 0; s.size() < 2000; ++i) s += char('a' + i % 26);
    return s;
  }();
  const Case cases[] = {
      {"blog share address", lw::testing::kBlog12345_678, lw::testing::kBlog12345_678},
      {"mood share address", lw::testing::kMood12345_9ab, lw::testing::kMood12345_9ab},
      {"Chinese text, GBK to UTF-8", "已经转换您的日志链接", u8"已经转换您的日志链接"},
      {"2000 bytes", long2000, long2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    app::QrCode code;
    ASSERT_TRUE(app::encodeQrCode(c.utf8.c_str(), &code));
    const int modules = qrcodegen_getSize(code.bits);
    const app::QrLayout layout = app::qrLayout(code, kQrPictureSide);
    ASSERT_GE(layout.scale, 1);
    EXPECT_LT(kQrPictureSide, uint32_t((layout.scale + 1) * (modules + 2 * app::kQrQuietZone)))
        << "expected the largest whole-pixel module";

    lw::ByteSet bmp = app::qrPictureOfText(c.ansi.c_str());
    ASSERT_NE(nullptr, bmp);
    uint32_t side = 0;
    std::vector<uint8_t> grey = greyOf(bmp, &side);
    lw::FreeMemory(bmp);
    ASSERT_EQ(kQrPictureSide, side);
    // Black and white only; the black part is the code, centred, with the quiet zone.
    int left = int(side), top = int(side), right = -1, bottom = -1;
    for (uint32_t y = 0; y < side; ++y)
      for (uint32_t x = 0; x < side; ++x) {
        const uint8_t g = grey[size_t(y) * side + x];
        ASSERT_TRUE(g == 0 || g == 255) << "expected black or white, got " << int(g);
        if (g) continue;
        left = std::min(left, int(x)), right = std::max(right, int(x));
        top = std::min(top, int(y)), bottom = std::max(bottom, int(y));
      }
    // Finder patterns take three corners, so the dark box is the whole code.
    const int codeStart = layout.offset + app::kQrQuietZone * layout.scale;
    EXPECT_EQ(codeStart, left);
    EXPECT_EQ(codeStart, top);
    EXPECT_EQ(codeStart + modules * layout.scale - 1, right);
    EXPECT_LE(std::abs(int(side) - 1 - right - left), 1) << "expected the code centred";
    EXPECT_EQ(left, top);
#ifdef LINKWRIGHT_QR_READER
    EXPECT_EQ(c.utf8, readBack(grey, side, layout.scale == 1 ? 4 : 1));
#endif
  }
}

TEST(QrCode, TextBeyondTheLargestCodeGetsNoPicture) {
  // 2331 bytes is what version 40 holds at level M in byte mode.
  const std::string fits = std::string(2331, 'a'), beyond = fits + "a";
  app::QrCode code;
  EXPECT_TRUE(app::encodeQrCode(fits.c_str(), &code));
  EXPECT_EQ(177, qrcodegen_getSize(code.bits));
  EXPECT_FALSE(app::encodeQrCode(beyond.c_str(), &code));
  EXPECT_EQ(nullptr, app::qrPictureOfText(beyond.c_str()));
  EXPECT_EQ(nullptr, app::qrPictureOfText(""));
  EXPECT_EQ(nullptr, app::qrPictureOfText(nullptr));
  lw::ByteSet largest = app::qrPictureOfText(fits.c_str());
  EXPECT_NE(nullptr, largest) << "expected the largest code drawn one pixel per module";
  lw::FreeMemory(largest);
}

// The display scales the program is tested at: 100, 125, 150, 175 and 200 %.
constexpr int kDpis[] = {96, 120, 144, 168, 192};

TEST(DisplayScale, OwnQrCodeHasWholeModulesThatGrowWithTheScale) {
  // The tool's own code is drawn for the box's side in device pixels: whole pixels
  // per module, as large as fit, centred; more pixels per module at a larger scale.
  app::QrCode code;
  ASSERT_TRUE(app::encodeQrCode("http://share.example/s?id=1234567890", &code));
  const int modules = qrcodegen_getSize(code.bits) + 2 * app::kQrQuietZone;
  int previous = 0;
  for (int dpi : kDpis) {
    const int side = lw::ScaleToDpi(int(app::kQrPictureSide), dpi);
    const app::QrLayout l = app::qrLayout(code, uint32_t(side));
    EXPECT_LE(l.scale * modules, side) << "the code fits at " << dpi;
    EXPECT_GT((l.scale + 1) * modules, side) << "the largest whole module at " << dpi;
    EXPECT_EQ((side - l.scale * modules) / 2, l.offset) << "centred at " << dpi;
    EXPECT_GE(l.scale, previous) << "modules never shrink as the scale grows";
    previous = l.scale;
  }
  EXPECT_GT(app::qrLayout(code, uint32_t(lw::ScaleToDpi(int(app::kQrPictureSide), 192))).scale,
            app::qrLayout(code, app::kQrPictureSide).scale);
}

}  // namespace
