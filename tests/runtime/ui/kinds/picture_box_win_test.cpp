// The picture box kind on screen: every picture kind drawn, the display modes of a
// 270 × 270 box, transparency over the background colour, the picture property's
// bytes, animation, children held as a container, and the copy of what it shows.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/runtime/picture/test_files.h"
#include "tests/runtime/ui/control_host_win.h"
#include "tests/support/png_writer.h"

namespace lw {
namespace {

using testing::Bind;
using testing::Bytes;
using testing::Capture;
using testing::CaptureClient;
using testing::MakeUnit;
using testing::PixelOf;
using testing::PropsBlock;

constexpr uint32_t kBox = 0x16000600, kInner = 0x16000601;
constexpr uint32_t kMagenta = 0xFF00FF;  // as a colour value and as a pixel alike

struct PictureBox : testing::ControlHost {
  HWND show(PicBoxProps p, int side = 100) {
    EXPECT_NE(Load({MakeUnit(kBox, unit_type::PicBox, 5, 5, side, side, {}, PropsBlock(unit_type::PicBox, p))}, 320,
                   330),
              nullptr);
    return Hwnd(kBox);
  }
};

Bytes solidBmp(int w, int h, uint32_t rgb) {
  return testing::makeBmp(std::vector<std::vector<uint32_t>>(h, std::vector<uint32_t>(w, rgb)), 24, {});
}

// Pictures of w × h whose left half is index/colour a and right half b.
std::vector<std::vector<uint32_t>> halves(int w, int h, uint32_t a, uint32_t b) {
  std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
  for (auto& row : rows)
    for (int x = 0; x < w; ++x) row[x] = x < w / 2 ? a : b;
  return rows;
}

Bytes pngOf(int w, int h, const std::vector<uint8_t>& rgba) {
  std::string png = lw::testing::PngOf(rgba.data(), w, h, 4);
  return Bytes(png.begin(), png.end());
}

// One sample of every picture kind and where to look on it.
struct Sample {
  const char* name;
  Bytes bytes;
  int x, y;
  uint32_t expected;  // 0xRRGGBB on the screen
  int tolerance;
};

std::vector<Sample> samples() {
  using testing::makeBmp;
  std::vector<Sample> s;
  const std::vector<uint32_t> sixteen = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFF00, 0, 0,
                                         0,        0,        0,        0,        0,        0,        0, 0};
  s.push_back({"1-bit BMP", makeBmp(halves(16, 8, 0, 1), 1, {0x000000, 0xFFFFFF}), 12, 4, 0xFFFFFF, 0});
  s.push_back({"4-bit BMP", makeBmp(halves(16, 8, 1, 3), 4, sixteen), 12, 4, 0x0000FF, 0});
  s.push_back({"8-bit BMP", makeBmp(halves(16, 8, 5, 2), 8, std::vector<uint32_t>(sixteen.begin(), sixteen.end())),
               2, 4, 0xFFFF00, 0});
  s.push_back({"24-bit BMP", testing::readSample("quad.bmp"), 13, 2, 0x00FF00, 0});
  s.push_back({"32-bit BMP", makeBmp(halves(8, 8, 0x00FF8000, 0x000080FF), 32, {}), 6, 6, 0x0080FF, 0});
  std::vector<std::vector<uint32_t>> upright(8, std::vector<uint32_t>(8, 0x0000FF));
  upright[0].assign(8, 0xFF0000);  // red top row
  s.push_back({"top-down BMP", makeBmp(upright, 24, {}, true), 3, 0, 0xFF0000, 0});
  s.push_back({"icon", testing::readSample("multi.ico"), 0, 10, kMagenta, 0});  // transparent left column
  testing::IconImage cursor;
  cursor.rows.assign(32, std::vector<uint32_t>(32, 0xFF00FFFF));  // cyan, opaque
  cursor.bits = 32;
  s.push_back({"cursor", testing::makeIcon({cursor}, 2), 20, 20, 0x00FFFF, 0});
  s.push_back({"interlaced GIF", testing::readSample("rows.gif"), 3, 5, 0x50AF28, 0});
  s.push_back({"transparent GIF", testing::readSample("clear.gif"), 1, 3, kMagenta, 0});
  s.push_back({"animated GIF", testing::readSample("anim.gif"), 4, 4, 0xFF0000, 0});
  s.push_back({"8-bit PCX", testing::readSample("quad.pcx"), 2, 10, 0x0000FF, 0});
  Bytes pcx1 = testing::pcxHeader(3, 1, 16, 8, 2);
  for (int y = 0; y < 8; ++y) pcx1.insert(pcx1.end(), {0x00, 0xC1, 0xFF});
  s.push_back({"1-bit PCX", pcx1, 12, 3, 0xFFFFFF, 0});
  s.push_back({"PNG with alpha", testing::readSample("alpha.png"), 1, 6, kMagenta, 0});  // clear quarter
  s.push_back({"colour JPEG", testing::readSample("colour.jpg"), 25, 5, 0x00FF00, 40});
  s.push_back({"grey JPEG", testing::readSample("grey.jpg"), 5, 25, 0xAAAAAA, 12});
  return s;
}

TEST_F(PictureBox, EveryPictureKindIsDrawn) {
  PicBoxProps p;
  p.backColour = kMagenta;
  show(p);
  for (const Sample& s : samples()) {
    SCOPED_TRACE(s.name);
    ASSERT_FALSE(s.bytes.empty());
    WriteBytes(kBox, pic_box_prop::Picture, s.bytes);
    Capture c = CaptureClient(Hwnd(kBox));
    EXPECT_TRUE(testing::Near(c.at(s.x, s.y), s.expected, s.tolerance))
        << std::hex << "expected " << s.expected << ", got " << c.at(s.x, s.y);
    EXPECT_EQ(c.at(90, 90), kMagenta) << "outside the picture: the background";
  }
}

TEST_F(PictureBox, DisplayModeTwoInA270BoxShrinksAndCentresButNeverEnlarges) {
  PicBoxProps p;
  p.backColour = 0xFF0000;  // blue
  p.displayMode = 2;
  show(p, 270);
  struct Case {
    int w, h;
    RECT expected;
  } cases[] = {{300, 300, {0, 0, 270, 270}}, {100, 50, {85, 110, 185, 160}}, {400, 100, {0, 101, 270, 168}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.w);
    WriteBytes(kBox, pic_box_prop::Picture, solidBmp(k.w, k.h, 0xFF0000));  // red
    RECT r = testing::BoundsOf(CaptureClient(Hwnd(kBox)), 0xFF0000);
    EXPECT_EQ(r.left, k.expected.left);
    EXPECT_EQ(r.top, k.expected.top);
    EXPECT_EQ(r.right, k.expected.right);
    EXPECT_EQ(r.bottom, k.expected.bottom);
  }
  WriteInt(kBox, pic_box_prop::DisplayMode, 1);  // stretched: every picture fills the box exactly
  for (const Case& k : cases) {
    WriteBytes(kBox, pic_box_prop::Picture, solidBmp(k.w, k.h, 0xFF0000));
    EXPECT_EQ(testing::CountColour(CaptureClient(Hwnd(kBox)), 0xFF0000), 270 * 270) << k.w << " x " << k.h;
  }
  WriteInt(kBox, pic_box_prop::DisplayMode, 0);  // own size at the corner, cut by the box
  RECT r = testing::BoundsOf(CaptureClient(Hwnd(kBox)), 0xFF0000);
  EXPECT_EQ(r.right, 270);
  EXPECT_EQ(r.bottom, 100);
  WriteInt(kBox, pic_box_prop::DisplayMode, 5);
  EXPECT_EQ(ReadInt(kBox, pic_box_prop::DisplayMode), 2) << "modes are clamped to 0-2";
}

TEST_F(PictureBox, AFullyTransparentPngShowsTheBackgroundColour) {
  Bytes clear = pngOf(20, 20, std::vector<uint8_t>(20 * 20 * 4, 0));  // black, alpha 0
  ASSERT_FALSE(clear.empty());
  PicBoxProps p;
  p.picture = clear;
  p.displayMode = 1;
  show(p);
  EXPECT_EQ(testing::CountColour(CaptureClient(Hwnd(kBox)), PixelOf(GetSysColor(COLOR_BTNFACE))), 100 * 100)
      << "the default background is the button face";
  WriteInt(kBox, pic_box_prop::BackColour, 0x00FFFF);  // yellow: composited again at the next paint
  EXPECT_EQ(testing::CountColour(CaptureClient(Hwnd(kBox)), 0xFFFF00), 100 * 100);
}

TEST_F(PictureBox, ThePictureBytesAreKeptWhetherOrNotTheyDecode) {
  PicBoxProps p;
  p.backColour = kMagenta;
  show(p);
  const char html[] = "<html>502 Bad Gateway</html>";
  Bytes page(html, html + sizeof html - 1);
  WriteBytes(kBox, pic_box_prop::Picture, page);
  EXPECT_EQ(testing::CountColour(CaptureClient(Hwnd(kBox)), kMagenta), 100 * 100) << "no picture, no message";
  auto* b = reinterpret_cast<ByteSetHeader*>(
      uintptr_t(ReadUnitProperty(testing::kHostWindow, kBox, pic_box_prop::Picture, -1)));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Bytes(byteSetData(b), byteSetData(b) + b->length), page) << "reading gives the bytes written";
  FreeMemory(b);
  WriteBytes(kBox, pic_box_prop::Picture, solidBmp(10, 10, 0x00FF00));
  EXPECT_EQ(testing::CountColour(CaptureClient(Hwnd(kBox)), 0x00FF00), 100);
  WriteBytes(kBox, pic_box_prop::Picture, {});
  EXPECT_EQ(testing::CountColour(CaptureClient(Hwnd(kBox)), kMagenta), 100 * 100) << "an empty byte set removes it";
  EXPECT_EQ(ReadUnitProperty(testing::kHostWindow, kBox, pic_box_prop::Picture, -1), 0u);
  WriteInt(kBox, pic_box_prop::Border, 1);
  EXPECT_TRUE(GetWindowLongA(Hwnd(kBox), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(PictureBox, AnAnimatedGifPlaysItsFramesWhileAnimateIsOn) {
  PicBoxProps p;
  p.backColour = kMagenta;
  p.animate = 1;
  p.picture = testing::readSample("anim.gif");  // red; blue 4 × 4 at (2,2); back to red, green 2 × 2 at (4,4)
  HWND box = show(p);
  bool sawBlue = false, sawGreen = false, sawRed = false;
  for (int i = 0; i < 60 && !(sawBlue && sawGreen && sawRed); ++i) {
    Capture c = CaptureClient(box);
    sawRed |= c.at(3, 3) == 0xFF0000 && c.at(5, 5) == 0xFF0000;
    sawBlue |= c.at(3, 3) == 0x0000FF;
    sawGreen |= c.at(5, 5) == 0x00FF00 && c.at(3, 3) == 0xFF0000;  // the blue frame was undone
    Sleep(15);
  }
  EXPECT_TRUE(sawRed);
  EXPECT_TRUE(sawBlue);
  EXPECT_TRUE(sawGreen);
  WriteInt(kBox, pic_box_prop::Animate, 0);  // stopped: the first image stays
  for (int i = 0; i < 5; ++i) {
    Capture c = CaptureClient(box);
    EXPECT_EQ(c.at(3, 3), 0xFF0000u);
    EXPECT_EQ(c.at(5, 5), 0xFF0000u);
    Sleep(60);
  }
}

// The clipboard's CF_DIB as captured pixels (24 or 32 bits, either row order); an
// empty capture when it holds none.
Capture clipboardPicture() {
  Capture c;
  if (!OpenClipboard(nullptr)) return c;
  const auto* head = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
  if (head && (head->biBitCount == 24 || head->biBitCount == 32)) {
    const int bytes = head->biBitCount / 8, h = head->biHeight < 0 ? -head->biHeight : head->biHeight;
    const size_t row = (size_t(head->biWidth) * bytes + 3) & ~size_t(3);
    const uint8_t* bits = reinterpret_cast<const uint8_t*>(head) + head->biSize;
    c.width = head->biWidth;
    c.height = h;
    for (int y = 0; y < h; ++y) {
      const uint8_t* p = bits + row * size_t(head->biHeight < 0 ? y : h - 1 - y);
      for (int x = 0; x < c.width; ++x, p += bytes) c.pixels.push_back(uint32_t(p[2]) << 16 | p[1] << 8 | p[0]);
    }
  }
  if (head) GlobalUnlock(GetClipboardData(CF_DIB));
  CloseClipboard();
  return c;
}

bool putText(const char* text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
  memcpy(GlobalLock(block), text, strlen(text) + 1);
  GlobalUnlock(block);
  const bool put = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  return put;
}

TEST_F(PictureBox, CopiesItsClientAreaAsShownAndNothingWhenEmpty) {
  PicBoxProps p;
  p.backColour = kMagenta;
  p.displayMode = 2;  // fitted and centred: the background shows around the picture
  p.picture = solidBmp(40, 20, 0xFF0000);
  HWND box = show(p);
  ASSERT_TRUE(putText("kept"));
  SendMessageW(box, WM_COPY, 0, 0);
  Capture copied = clipboardPicture(), shown = CaptureClient(box);
  ASSERT_EQ(100, copied.width) << "expected the box's client size";
  ASSERT_EQ(100, copied.height);
  EXPECT_EQ(shown.pixels, copied.pixels) << "expected the copy to be what the screen shows";
  EXPECT_EQ(0xFF0000u, copied.at(50, 50));
  EXPECT_EQ(kMagenta, copied.at(2, 2));

  WriteBytes(kBox, pic_box_prop::Picture, {});
  ASSERT_TRUE(putText("kept"));
  SendMessageW(box, WM_COPY, 0, 0);
  EXPECT_EQ(0, clipboardPicture().width) << "expected an empty box to copy nothing";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT)) << "expected the clipboard's text kept";
  CloseClipboard();
}

TEST_F(PictureBox, HoldsUnitsLikeAGroupBox) {
  UnitRecord box = MakeUnit(kBox, unit_type::PicBox, 5, 5, 200, 200, {}, {});
  box.children = {kInner};
  ASSERT_NE(Load({MakeUnit(kInner, unit_type::Button, 20, 20, 80, 24, {Bind(button_event::Clicked, 0)}, {},
                           unit_state::Visible, kBox),
                  box}),
            nullptr);
  EXPECT_EQ(GetParent(Hwnd(kInner)), Hwnd(kBox));
  SendMessageA(Hwnd(kInner), BM_CLICK, 0, 0);
  EXPECT_EQ(testing::Log().calls[0], 1);
}

}  // namespace
}  // namespace lw
