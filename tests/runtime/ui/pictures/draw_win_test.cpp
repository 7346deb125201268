// Drawing decoded pictures into a memory bitmap: own size, stretched, icons with
// their mask, alpha composited over the background, the transparent-colour mode,
// and the placement of the picture box's display modes.
#include "runtime/ui/pictures/draw_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/core/values/memory.h"
#include "tests/runtime/picture/test_files.h"

namespace lw {
namespace {

using testing::Bytes;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;  // 0xRRGGBB

// A memory canvas of 32-bit pixels filled with one colour.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  uint8_t* bits = nullptr;
  int width, height;
  Canvas(int w, int h, uint32_t fillRgb) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = MakeTopDownBitmap(dc, w, h, &bits);
    old = SelectObject(dc, bitmap);
    for (int i = 0; i < w * h; ++i) memcpy(bits + 4 * i, &fillRgb, 4);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t at(int x, int y) const {
    GdiFlush();
    uint32_t p;
    memcpy(&p, bits + 4 * (size_t(y) * width + x), 4);
    return p & 0xFFFFFF;
  }
};

COLORREF colourRef(uint32_t rgb) { return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

Bytes quadBmp(int w, int h) {
  std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows[y][x] = (y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kWhite));
  return testing::makeBmp(rows, 24, {});
}

struct Picture {
  UnitPicture p;
  explicit Picture(const Bytes& bytes) { SetUnitPicture(&p, bytes); }
  ~Picture() { ClearUnitPicture(&p); }
};

TEST(PictureDraw, DrawsAtItsOwnSizeAndStretched) {
  Picture pic(quadBmp(4, 4));
  ASSERT_NE(pic.p.decoded, nullptr);
  Canvas c(20, 20, 0x123456);
  DrawablePicture d;
  ASSERT_TRUE(MakeDrawablePicture(pic.p, c.dc, RGB(0, 0, 0), &d));
  DrawPicture(d, 1, 1);
  EXPECT_EQ(c.at(1, 1), kRed);
  EXPECT_EQ(c.at(4, 1), kGreen);
  EXPECT_EQ(c.at(1, 4), kBlue);
  EXPECT_EQ(c.at(4, 4), kWhite);
  EXPECT_EQ(c.at(5, 5), 0x123456u) << "nothing beyond its own size";
  DrawPicture(d, 0, 0, 20, 20);
  EXPECT_EQ(c.at(0, 0), kRed);
  EXPECT_EQ(c.at(9, 9), kRed);
  EXPECT_EQ(c.at(10, 9), kGreen);
  EXPECT_EQ(c.at(19, 19), kWhite);
  ReleaseDrawablePicture(&d);
}

TEST(PictureDraw, PngAlphaIsCompositedOverTheBackgroundOfEachDrawing) {
  Picture pic(testing::readSample("alpha.png"));  // red, green at half, blue clear, white
  ASSERT_NE(pic.p.decoded, nullptr);
  for (uint32_t background : {0xFFFF00u, 0x000000u}) {
    SCOPED_TRACE(background);
    Canvas c(8, 8, 0x777777);
    DrawablePicture d;
    ASSERT_TRUE(MakeDrawablePicture(pic.p, c.dc, colourRef(background), &d));
    DrawPicture(d, 0, 0);
    ReleaseDrawablePicture(&d);
    EXPECT_EQ(c.at(1, 1), kRed);
    EXPECT_EQ(c.at(1, 6), background) << "full transparency shows the background colour";
    const uint32_t half = c.at(6, 1);
    const int g = int(half >> 8 & 0xFF), r = int(half >> 16);
    EXPECT_NEAR(g, (255 * 128 + int(background >> 8 & 0xFF) * 127) / 255, 1);
    EXPECT_NEAR(r, (int(background >> 16) * 127) / 255, 1);
    EXPECT_EQ(c.at(6, 6), kWhite);
  }
}

TEST(PictureDraw, TheTransparentColourIsLeftOut) {
  Picture pic(quadBmp(4, 4));
  Canvas c(8, 8, 0x123456);
  DrawablePicture d;
  ASSERT_TRUE(MakeDrawablePicture(pic.p, c.dc, RGB(0, 0, 0), &d));
  DrawPictureTransparent(d, 0, 0, 8, 8, colourRef(kGreen));
  ReleaseDrawablePicture(&d);
  EXPECT_EQ(c.at(1, 1), kRed);
  EXPECT_EQ(c.at(6, 1), 0x123456u) << "green pixels are not drawn";
  EXPECT_EQ(c.at(1, 6), kBlue);
  EXPECT_EQ(c.at(6, 6), kWhite);
}

TEST(PictureDraw, IconsDrawThroughTheirMask) {
  Picture pic(testing::readSample("multi.ico"));  // 32 × 32 yellow, left column transparent
  ASSERT_NE(pic.p.decoded, nullptr);
  EXPECT_NE(pic.p.icon, nullptr) << "an icon picture makes a platform icon";
  Canvas c(40, 40, 0x123456);
  DrawablePicture d;
  ASSERT_TRUE(MakeDrawablePicture(pic.p, c.dc, RGB(0, 0, 0), &d));
  EXPECT_EQ(d.width, 32);
  DrawPicture(d, 0, 0);
  ReleaseDrawablePicture(&d);
  EXPECT_EQ(c.at(10, 10), 0xFFFF00u);
  EXPECT_EQ(c.at(0, 10), 0x123456u);
  EXPECT_EQ(c.at(35, 10), 0x123456u);
}

TEST(PictureDraw, DisplayModesPlaceThePictureInTheClientArea) {
  Picture wide(testing::makeBmp(std::vector<std::vector<uint32_t>>(100, std::vector<uint32_t>(400, kRed)), 24, {}));
  Canvas c(270, 270, 0);
  RECT client = {0, 0, 270, 270};
  RECT r = DisplayPicture(c.dc, wide.p, 2, client, RGB(0, 0, 0));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 101);
  EXPECT_EQ(r.right, 270);
  EXPECT_EQ(r.bottom, 168);
  EXPECT_EQ(c.at(135, 100), 0u);
  EXPECT_EQ(c.at(135, 101), kRed);
  EXPECT_EQ(c.at(135, 167), kRed);
  EXPECT_EQ(c.at(135, 168), 0u);
  r = DisplayPicture(c.dc, wide.p, 1, client, RGB(0, 0, 0));
  EXPECT_EQ(r.bottom - r.top, 270);
  EXPECT_EQ(c.at(0, 269), kRed);
  UnitPicture none;
  r = DisplayPicture(c.dc, none, 2, client, RGB(0, 0, 0));
  EXPECT_EQ(r.right - r.left, 0);
}

TEST(PictureDraw, NoPictureFromBytesThatAreNotOne) {
  UnitPicture p;
  EXPECT_FALSE(SetUnitPicture(&p, {}));
  const char html[] = "<html><body>error</body></html>";
  EXPECT_FALSE(SetUnitPicture(&p, Bytes(html, html + sizeof html)));
  EXPECT_EQ(p.decoded, nullptr);
  EXPECT_EQ(MakePictureBitmap(p, 0), nullptr);
}

// While alive, records the largest block asked of the runtime's allocator, or
// refuses every block.
struct HeapWatch {
  static inline HeapOps previous;
  static inline size_t largest = 0;
  explicit HeapWatch(bool refuse) {
    previous = CurrentHeapOps();
    largest = 0;
    SetHeapOps({refuse ? +[](size_t) -> void* { return nullptr; }
                       : +[](size_t n) -> void* {
                           if (n > largest) largest = n;
                           return previous.alloc(n);
                         },
                previous.resize, previous.release});
  }
  ~HeapWatch() { SetHeapOps(previous); }
};

TEST(PictureDraw, APaintWorksOutOnlyWhatShowsAndShowsTheBackgroundWhenMemoryIsShort) {
  Picture big(testing::makeBmp(std::vector<std::vector<uint32_t>>(1000, std::vector<uint32_t>(1000, kRed)), 24, {}));
  ASSERT_NE(big.p.decoded, nullptr);
  const RECT client = {0, 0, 50, 50};
  {
    Canvas c(50, 50, 0x123456);
    HeapWatch watch(false);
    DisplayPicture(c.dc, big.p, 1, client, RGB(0, 0, 0));
    EXPECT_GT(HeapWatch::largest, 0u) << "expected the paint's pixels from the runtime's allocator";
    EXPECT_LE(HeapWatch::largest, size_t(50) * 50 * 4) << "expected the box's pixels, not the picture's";
    EXPECT_EQ(c.at(0, 0), kRed);
    EXPECT_EQ(c.at(49, 49), kRed);
  }
  {
    // At its own size, 1000 × 1000, in a box clipped to 10 × 10.
    Canvas c(50, 50, 0x123456);
    IntersectClipRect(c.dc, 0, 0, 10, 10);
    HeapWatch watch(false);
    DisplayPicture(c.dc, big.p, 0, client, RGB(0, 0, 0));
    EXPECT_LE(HeapWatch::largest, size_t(10) * 10 * 4) << "expected only the visible 10 × 10";
    EXPECT_EQ(c.at(9, 9), kRed);
    EXPECT_EQ(c.at(10, 10), 0x123456u);
  }
  {
    Canvas c(50, 50, 0x123456);
    HeapWatch watch(true);
    RECT drawn = DisplayPicture(c.dc, big.p, 1, client, colourRef(kBlue));
    EXPECT_EQ(drawn.right - drawn.left, 0) << "nothing drawn";
    EXPECT_EQ(c.at(0, 0), kBlue) << "expected the background colour in place of the picture";
    EXPECT_EQ(c.at(49, 49), kBlue);
  }
}

}  // namespace
}  // namespace lw
