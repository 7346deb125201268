// The program's windows at the display scale of the prefix the tests run in: they
// are laid out in proportion, no caption is cut, the properties keep reading 96-DPI
// units, and a move to a monitor of another scale and back restores every
// rectangle. The same checks run at every scale; the prefix's scale is named by
// LINKWRIGHT_EXPECT_DPI (96 when unset). The QR window's own code at the scale is
// checked with the QR display (tests/app/qr_display_win_test.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <variant>

#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/properties/access_win.h"
#include "runtime/ui/properties/values.h"
#include "runtime/ui/scale/display_scale.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/units_win.h"
#include "tests/support/start_window_win.h"

namespace {

namespace ids = app::ids;
using lw::ScaleToDpi;

int expectedDpi() {
  const char* v = getenv("LINKWRIGHT_EXPECT_DPI");
  return v && atoi(v) > 0 ? atoi(v) : lw::kBaseDpi;
}

// The test process declares the awareness the program's manifest declares, so the
// runtime inside it sees the scale as the program does.
void declareAwareness() {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  using SetContext = BOOL(WINAPI*)(HANDLE);
  auto setContext = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
  if (!setContext || !setContext(HANDLE(intptr_t(-4))))  // per monitor, version 2
    SetProcessDPIAware();
}

TEST(DisplayScaleGuard, PrefixRunsAtTheExpectedScale) {
  // Every other check here is only as good as the prefix's scale.
  declareAwareness();
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(expectedDpi(), GetDeviceCaps(dc, LOGPIXELSY)) << "LogPixels of this prefix";
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(expectedDpi(), lw::SystemDpi());
}

// A control's window rectangle in its parent's client coordinates.
RECT placeOf(HWND h) {
  RECT r = {};
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

::testing::AssertionResult isScaledBox(const RECT& r, const lw::UnitRecord& u, int dpi, int slack) {
  const lw::ScaledBox want = lw::ScaleBoxToDpi({u.left, u.top, u.width, u.height}, dpi);
  const int got[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  const int wanted[] = {want.left, want.top, want.width, want.height};
  for (int i = 0; i < 4; ++i)
    if (abs(got[i] - wanted[i]) > slack)
      return ::testing::AssertionFailure() << "expected " << wanted[0] << "," << wanted[1] << " " << wanted[2] << "x"
                                           << wanted[3] << " at " << dpi << " DPI, got " << got[0] << "," << got[1]
                                           << " " << got[2] << "x" << got[3];
  return ::testing::AssertionSuccess();
}

struct DisplayScaleStartWindow : lw::testing::StartWindowTest {
  static void SetUpTestSuite() { declareAwareness(); }

  lw::WindowRecord& window() { return *lw::FindLoadedWindow(ids::StartWindow); }
  HWND main() { return Control(0); }
  // Each control of the start window with a live window, and its record.
  template <typename Visit>
  void eachControl(Visit visit) {
    for (size_t i = 1; i < window().units.size(); ++i) {
      lw::UnitRecord& r = window().units[i];
      if (lw::Unit* u = r.menuItem ? nullptr : lw::LiveUnit(&r)) visit(r, HWND(u->hwnd));
    }
  }
};

TEST_F(DisplayScaleStartWindow, ControlsAreTheirUnitRectanglesScaled) {
  const int dpi = lw::WindowDpi(main());
  EXPECT_EQ(expectedDpi(), dpi);
  int seen = 0;
  eachControl([&](lw::UnitRecord& r, HWND h) {
    EXPECT_TRUE(isScaledBox(placeOf(h), r, dpi, 1)) << "unit " << std::hex << r.id;
    ++seen;
  });
  EXPECT_EQ(11, seen) << "the start window's controls";
  RECT outer = {};
  GetWindowRect(main(), &outer);
  EXPECT_NEAR(ScaleToDpi(window().units[0].width, dpi), outer.right - outer.left, 1) << "the window's outer width";
}

// The width of a text in a font, in pixels.
int textWidth(HWND h, HFONT font, const wchar_t* text, int n) {
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, text, n, &extent);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return extent.cx;
}

TEST_F(DisplayScaleStartWindow, NoCaptionIsCut) {
  // Each label's and button's caption, in the font it is drawn in, fits its client
  // width ("说说或者日志地址" and "QQ号：" were cut when only the fonts grew). A
  // caption that overhangs its box at 100 % in this prefix's default font (the
  // template's "QQ号：" box is 32 units for a 42-pixel text) may overhang by as much,
  // scaled, and no more.
  const int dpi = lw::WindowDpi(main());
  eachControl([&](lw::UnitRecord& r, HWND h) {
    if (r.typeId != lw::unit_type::Label && r.typeId != lw::unit_type::Button) return;
    lw::UnitProps props;
    const char* reason = nullptr;
    ASSERT_TRUE(lw::DecodeUnitProperties(r.typeId, r.properties.data(), r.properties.size(), &props, &reason));
    const lw::Bytes& block = r.typeId == lw::unit_type::Label ? std::get<lw::LabelProps>(props).font
                                                              : std::get<lw::ButtonProps>(props).font;
    wchar_t text[256] = {};
    const int n = GetWindowTextW(h, text, 256);
    HFONT own = HFONT(SendMessageW(h, WM_GETFONT, 0, 0));
    HFONT made = own ? nullptr : lw::MakeUnitFontForDpi(block, dpi);
    HFONT at96 = lw::MakeUnitFontForDpi(block, lw::kBaseDpi);
    const int width = textWidth(h, own ? own : made, text, n), width96 = textWidth(h, at96, text, n);
    lw::DeleteUnitFont(made);
    lw::DeleteUnitFont(at96);
    RECT client = {};
    GetClientRect(h, &client);
    const int client96 = lw::ScaleFromDpi(client.right, dpi);
    const int overhang96 = width96 > client96 ? width96 - client96 : 0;
    EXPECT_LE(width, client.right + ScaleToDpi(overhang96, dpi) + 1)
        << "unit " << std::hex << r.id << std::dec << " at " << dpi << " DPI: " << width << " pixels of text, "
        << width96 << " at 96 DPI in a box of " << client96;
  });
}

TEST_F(DisplayScaleStartWindow, PropertiesReadAndWriteUnitsOf96Dpi) {
  eachControl([&](lw::UnitRecord& r, HWND) {
    const int32_t want[] = {r.left, r.top, r.width, r.height};
    for (int n = lw::unit_prop::Left; n <= lw::unit_prop::Height; ++n)
      EXPECT_EQ(want[n], int32_t(lw::ReadUnitProperty(ids::StartWindow, r.id, n, -1)))
          << "property " << n << " of unit " << std::hex << r.id;
  });
  // Written and read back: the same value at every scale, for odd values too.
  for (int32_t v : {1, 7, 33, 101}) {
    lw::WriteUnitProperty(ids::StartWindow, ids::标签2, lw::unit_prop::Width, -1, lw::Word(v), 0);
    lw::WriteUnitProperty(ids::StartWindow, ids::标签2, lw::unit_prop::Left, -1, lw::Word(v), 0);
    EXPECT_EQ(v, int32_t(lw::ReadUnitProperty(ids::StartWindow, ids::标签2, lw::unit_prop::Width, -1)));
    EXPECT_EQ(v, int32_t(lw::ReadUnitProperty(ids::StartWindow, ids::标签2, lw::unit_prop::Left, -1)));
  }
}

TEST_F(DisplayScaleStartWindow, DefaultFontReadsIn96DpiUnitsAndOneElementChangesAlone) {
  // 编辑框QQ has no font of its own. Its size reads as the default font's at 96 DPI
  // at every scale (it read 1.25-2 times that), and a write of one element changes
  // that element alone (the height grew with every write).
  const int dpi = lw::WindowDpi(main());
  HWND box = Control(ids::编辑框QQ);
  auto size = [] { return int32_t(lw::ReadUnitProperty(ids::StartWindow, ids::编辑框QQ, lw::edit_prop::Font,
                                                       lw::font_element::Size)); };
  auto drawnHeight = [&] {
    LOGFONTW lf = {};
    GetObjectW(HFONT(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
  };
  // The size read, as a height at 96 DPI scaled to this window's, is the height
  // the box draws with (within the rounding of whole points and pixels).
  const int32_t points = size();
  const LONG height = drawnHeight();
  EXPECT_NEAR(lw::ScaleFontHeight(lw::FontHeightFromPoints(points, lw::kBaseDpi), dpi), height, lw::ScaleToDpi(1, dpi) + 1)
      << points << " points read at " << dpi << " DPI for a font of height " << height;
  struct Write {
    int element, value;
  } writes[] = {{lw::font_element::Bold, 1}, {lw::font_element::Underline, 1}, {lw::font_element::Bold, 0},
                {lw::font_element::Underline, 0}};
  for (const Write& w : writes) {
    lw::WriteUnitProperty(ids::StartWindow, ids::编辑框QQ, lw::edit_prop::Font, w.element, lw::Word(w.value), 0);
    EXPECT_EQ(w.value, int32_t(lw::ReadUnitProperty(ids::StartWindow, ids::编辑框QQ, lw::edit_prop::Font, w.element)))
        << "element " << w.element;
    EXPECT_EQ(points, size()) << "after a write of element " << w.element;
    EXPECT_NEAR(height, drawnHeight(), 1) << "the box's font height after a write of element " << w.element;
  }
}

TEST_F(DisplayScaleStartWindow, MonitorOfAnotherScaleAndBackRestoresEveryRectangle) {
  const int from = lw::WindowDpi(main()), to = from * 3 / 2;
  std::vector<RECT> before;
  eachControl([&](lw::UnitRecord&, HWND h) { before.push_back(placeOf(h)); });
  RECT outer = {};
  GetWindowRect(main(), &outer);
  HFONT buttonFont = HFONT(SendMessageW(Control(ids::获取), WM_GETFONT, 0, 0));
  LOGFONTW lf = {};
  GetObjectW(buttonFont, sizeof lf, &lf);

  RECT suggested = {outer.left, outer.top, outer.left + lw::RescaleBetween(outer.right - outer.left, from, to),
                    outer.top + lw::RescaleBetween(outer.bottom - outer.top, from, to)};
  SendMessageW(main(), lw::kMessageDpiChanged, MAKEWPARAM(to, to), LPARAM(&suggested));
  EXPECT_EQ(to, lw::WindowDpi(main()));
  eachControl([&](lw::UnitRecord& r, HWND h) { EXPECT_TRUE(isScaledBox(placeOf(h), r, to, 0)); });
  LOGFONTW larger = {};
  GetObjectW(HFONT(SendMessageW(Control(ids::获取), WM_GETFONT, 0, 0)), sizeof larger, &larger);
  EXPECT_EQ(lw::RescaleBetween(lf.lfHeight, from, to), larger.lfHeight) << "the button's font follows";

  SendMessageW(main(), lw::kMessageDpiChanged, MAKEWPARAM(from, from), LPARAM(&outer));
  size_t i = 0;
  eachControl([&](lw::UnitRecord& r, HWND h) {
    const RECT now = placeOf(h);
    EXPECT_TRUE(EqualRect(&now, &before[i++])) << "unit " << std::hex << r.id << " came back elsewhere";
  });
  RECT back = {};
  GetWindowRect(main(), &back);
  EXPECT_TRUE(EqualRect(&back, &outer));
}

}  // namespace
