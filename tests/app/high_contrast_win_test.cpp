// The whole program started under High Contrast Black, as a user of that scheme
// starts it: the scheme's colours set for the system, and the system saying that
// high contrast is on. Wine's system never says so, so a small library loaded into
// the program before its first instruction answers for it (contrast_switch.dll).
// Every label, the status line, the edit boxes and the list must then be drawn in
// the scheme's colours, and the QR code must still be dark on light, module for
// module, so that it scans.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/app/end_to_end_session_win.h"
#include "tests/app/served_qr_code_win.h"
#include "tests/support/screen_capture_win.h"

namespace {

using namespace e2e;

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

// High Contrast Black as the system's scheme sets it.
const std::pair<int, COLORREF> kHighContrastBlack[] = {
    {COLOR_WINDOW, kBlack},           {COLOR_WINDOWTEXT, kWhite},     {COLOR_BTNFACE, kBlack},
    {COLOR_BTNTEXT, kWhite},          {COLOR_MENU, kBlack},           {COLOR_MENUTEXT, kWhite},
    {COLOR_HIGHLIGHT, RGB(26, 235, 255)}, {COLOR_HIGHLIGHTTEXT, kBlack}, {COLOR_GRAYTEXT, RGB(63, 242, 63)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)}, {COLOR_BTNHIGHLIGHT, kWhite}, {COLOR_WINDOWFRAME, kWhite},
};

// 0x00RRGGBB as the screen capture gives it.
uint32_t screenColour(COLORREF c) { return uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); }
int channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }
// A pixel with a hue: a channel far from the others (the design's red, blue or green).
bool coloured(uint32_t c) {
  const int r = channel(c, 16), g = channel(c, 8), b = channel(c, 0);
  return std::abs(r - g) > 60 || std::abs(g - b) > 60 || std::abs(r - b) > 60;
}

struct HighContrast : EndToEndSession {
  std::vector<int> indices;
  std::vector<COLORREF> before, scheme;
  HWND qr = nullptr;

  void SetUp() override {
    EndToEndSession::SetUp();
    for (const auto& [index, colour] : kHighContrastBlack) {
      indices.push_back(index);
      before.push_back(GetSysColor(index));
      scheme.push_back(colour);
    }
    ASSERT_TRUE(SetSysColors(int(indices.size()), indices.data(), scheme.data()));
  }
  void TearDown() override {
    if (qr && IsWindow(qr)) PostMessageW(qr, WM_CLOSE, 0, 0);
    if (main && IsWindow(main)) {
      PostMessageW(main, WM_CLOSE, 0, 0);
      program.WaitForExit();
    }
    // The prefix keeps the system's colours for every later test.
    EXPECT_TRUE(SetSysColors(int(indices.size()), indices.data(), before.data()));
    EndToEndSession::TearDown();
  }
  void startUnderHighContrast() {
    serveNotice(u8"版本：3.1#\r\n下载地址：http://" + kLoopback + "/download#");
    const std::wstring exe = besideTests(L"linkwright_loopback.exe");
    ASSERT_TRUE(program.StartWithLibrary(L"\"" + exe + L"\"", besideTests(L"contrast_switch.dll")))
        << "expected the contrast library loaded into the program";
    main = startWindow();
    ASSERT_NE(nullptr, main) << "expected the start window";
  }
  // The pixels of a control's client area, as the screen shows them.
  lw::testing::ScreenPixels clientOf(int id) {
    RECT r = {};
    GetClientRect(control(id), &r);
    MapWindowPoints(control(id), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return lw::testing::CaptureScreen(r);
  }
};

TEST_F(HighContrast, EveryTextIsInTheSchemesColoursAndTheQrCodeStillScans) {
  ASSERT_NO_FATAL_FAILURE(startUnderHighContrast());
  // An error, which the status line shows in the design's red.
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  ASSERT_TRUE(lw::testing::WaitUntil([&] { return !shown(k标签_提示).empty(); }));
  lw::testing::TypeInto(control(k编辑框QQ), L"12345");

  // The list keeps its own copies of its colours: the scheme's.
  const HWND list = control(k超级列表框日志);
  EXPECT_EQ(kBlack, COLORREF(SendMessageW(list, LVM_GETBKCOLOR, 0, 0)));
  EXPECT_EQ(kWhite, COLORREF(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0)));

  struct Drawn {
    int id;
    const char* name;
    bool hasText;
  };
  const Drawn drawn[] = {
      {k标签2, "the address box's label", true}, {k标签1, "the QQ box's label", true},
      {k标签_提示, "the status line", true},       {k编辑框QQ, "编辑框QQ", true},
      {k链接框, "链接框", false},                  {k编辑框生成, "编辑框生成", false},
      {k超级列表框日志, "the list", false},
  };
  // What is wrong with a control's pixels, empty when nothing is.
  auto wrongIn = [&](const Drawn& d) -> std::string {
    const lw::testing::ScreenPixels p = clientOf(d.id);
    if (p.width * p.height == 0) return "nothing on the screen";
    std::map<uint32_t, int> counts;
    int inked = 0, hued = 0;
    for (uint32_t c : p.bgr) {
      ++counts[c];
      inked += channel(c, 8) > 0xC0;
      hued += coloured(c);
    }
    uint32_t ground = 0;
    for (const auto& [colour, n] : counts)
      if (n > counts[ground]) ground = colour;
    if (ground != screenColour(kBlack)) return "a ground other than the scheme's black";
    if (hued) return std::to_string(hued) + " pixels in a colour outside the scheme";
    if (d.hasText && inked <= 10) return "no text in the scheme's white";
    return "";
  };
  for (const Drawn& d : drawn) {
    // Painting follows the start; what shows is checked once it settles.
    lw::testing::WaitUntil([&] { return wrongIn(d).empty(); }, 3000);
    EXPECT_EQ("", wrongIn(d)) << d.name;
  }

  // The QR code as the service gives it, dark on light, quiet zone included.
  lw::testing::TypeInto(control(k链接框), L"http://user.qzone.qq.com/12345/blog/678");
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  const ServedCode served = servedCodeOf(gbk(shown(k编辑框生成)));
  ASSERT_FALSE(served.png.empty());
  server.Serve("/qr.php", HttpResponse("200 OK", "Content-Type: image/png\r\n", served.png));
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
  qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
  ASSERT_NE(nullptr, qr) << "expected the QR window";
  const HWND box = GetDlgItem(qr, k图片二维码);
  auto onScreen = [&] {
    RECT r = {};
    GetClientRect(box, &r);
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return lw::testing::CaptureScreen(r);
  };
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return modulesWrong(onScreen(), served) == 0; }))
      << modulesWrong(onScreen(), served) << " modules wrong";
}

}  // namespace
