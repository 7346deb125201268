// High contrast followed while the program runs, and pop-up menus drawn by the
// runtime. The system under test never switches contrast itself, so the window is
// given each scheme as its answer to a change would read it: the units must then be
// drawn in that scheme's colours by role, or in their own again when it is off,
// while their properties keep the program's values.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "runtime/ui/kinds/colours_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/windows/menu_drawing_win.h"
#include "runtime/ui/windows/units_win.h"
#include "tests/runtime/ui/control_host_win.h"

namespace lw {
namespace {

using testing::Capture;
using testing::CaptureClient;
using testing::CountColour;
using testing::MakeUnit;
using testing::PixelOf;
using testing::PropsBlock;

constexpr uint32_t kLabel = 0x16000200, kEdit = 0x16000201, kList = 0x16000202, kGroup = 0x16000203;
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kGrey = 0x808080;  // red low

uint32_t mostCommon(const Capture& c) {
  std::map<uint32_t, int> counts;
  for (uint32_t p : c.pixels) ++counts[p];
  uint32_t best = 0;
  for (const auto& [colour, n] : counts)
    if (n > counts[best]) best = colour;
  return best;
}

struct Contrast : testing::ControlHost {
  void TearDown() override {
    FollowContrastScheme(window, ContrastScheme{});  // the process's scheme back to off
    ControlHost::TearDown();
  }
  void load() {
    LabelProps label;
    label.caption = "WWW";
    label.textColour = kRed;
    label.backColour = kGreen;
    label.gradientBackground = 1;
    label.gradientColours[0] = kBlue, label.gradientColours[1] = kGreen;
    EditProps edit;
    edit.text = "WWW";
    edit.textColour = kRed;
    edit.backColour = kGreen;
    ListViewProps list;
    list.textColour = kRed;
    list.textBackColour = kGreen;
    list.backColour = kBlue;
    GroupBoxProps group;
    group.caption = "WWW";
    group.textColour = kRed;
    group.backColour = kGrey;
    window = Load({MakeUnit(kLabel, unit_type::Label, 10, 10, 100, 40, {}, PropsBlock(unit_type::Label, label)),
                   MakeUnit(kEdit, unit_type::EditBox, 10, 60, 100, 30, {}, PropsBlock(unit_type::EditBox, edit)),
                   MakeUnit(kList, unit_type::ListView, 10, 100, 100, 60, {}, PropsBlock(unit_type::ListView, list)),
                   MakeUnit(kGroup, unit_type::GroupBox, 200, 10, 200, 150, {}, PropsBlock(unit_type::GroupBox, group))});
    ASSERT_NE(nullptr, window);
  }
  HWND window = nullptr;
};

TEST_F(Contrast, ASchemeTakenWhileRunningRecoloursEveryUnitByRoleAndOffGivesTheirOwnBack) {
  ASSERT_NO_FATAL_FAILURE(load());
  const ContrastScheme on = {true, RGB(255, 255, 0), RGB(0, 0, 128), RGB(0, 255, 255), RGB(64, 0, 64)};
  struct Row {
    const char* name;
    ContrastScheme scheme;
    COLORREF labelText, labelBack, boxText, box, listBack, groupBack;
  };
  const Row rows[] = {
      {"high contrast on", on, on.faceText, on.face, on.boxText, on.box, on.box, on.face},
      // Off again: the label's gradient runs from blue, so its ground is no single colour.
      {"high contrast off", ContrastScheme{}, kRed, 0xFFFFFFFF, kRed, kGreen, kBlue, kGrey},
  };
  for (const Row& r : rows) {
    FollowContrastScheme(window, r.scheme);
    testing::PumpMessages(4);
    EXPECT_EQ(r.scheme.on, HighContrastOn()) << r.name;

    const Capture label = CaptureClient(Hwnd(kLabel));
    if (r.labelBack != 0xFFFFFFFF)
      EXPECT_EQ(PixelOf(r.labelBack), mostCommon(label)) << r.name << ": no gradient behind the text";
    EXPECT_GT(CountColour(label, PixelOf(r.labelText), {}, 40), 0) << r.name << ": the label's text";
    const Capture edit = CaptureClient(Hwnd(kEdit));
    EXPECT_EQ(PixelOf(r.box), mostCommon(edit)) << r.name << ": the edit box's ground";
    EXPECT_GT(CountColour(edit, PixelOf(r.boxText), {}, 40), 0) << r.name << ": the edit box's text";
    EXPECT_EQ(r.listBack, COLORREF(SendMessageW(Hwnd(kList), LVM_GETBKCOLOR, 0, 0))) << r.name;
    EXPECT_EQ(r.boxText, COLORREF(SendMessageW(Hwnd(kList), LVM_GETTEXTCOLOR, 0, 0))) << r.name;
    EXPECT_EQ(PixelOf(r.groupBack), mostCommon(CaptureClient(Hwnd(kGroup)))) << r.name << ": the group box";

    // The program's view of its own colours does not change.
    EXPECT_EQ(int32_t(kRed), ReadInt(kLabel, label_prop::TextColour)) << r.name;
    EXPECT_EQ(int32_t(kGreen), ReadInt(kEdit, edit_prop::BackColour)) << r.name;
  }
}

TEST_F(Contrast, OnlyColourAndContrastChangesCount) {
  EXPECT_TRUE(IsContrastChange(WM_SYSCOLORCHANGE, 0));
  EXPECT_TRUE(IsContrastChange(WM_THEMECHANGED, 0));
  EXPECT_TRUE(IsContrastChange(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST));
  EXPECT_FALSE(IsContrastChange(WM_SETTINGCHANGE, SPI_SETWORKAREA));
  EXPECT_FALSE(IsContrastChange(WM_PAINT, 0));
}

// ---- Pop-up menus the runtime draws ----

const wchar_t kCopy[] = L"\u590d\u5236\u56fe\u7247", kSave[] = L"\u4fdd\u5b58\u56fe\u7247\u2026\tCtrl+S";

struct OwnMenu : ::testing::Test {
  void SetUp() override {
    menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, kCopy);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 2, kSave);
  }
  void TearDown() override {
    ForgetOwnDrawnMenus();
    DestroyMenu(menu);
  }
  ULONG_PTR dataOf(UINT command) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    GetMenuItemInfoW(menu, command, FALSE, &info);
    type = info.fType;
    return info.dwItemData;
  }
  // The item drawn into a bitmap of `size`, as the menu would ask for it.
  Capture drawn(UINT command, UINT state, SIZE size) {
    Capture c;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT d = {};
    d.CtlType = ODT_MENU;
    d.itemID = command;
    d.itemState = state;
    d.hwndItem = HWND(menu);
    d.hDC = dc;
    d.rcItem = {0, 0, size.cx, size.cy};
    d.itemData = dataOf(command);
    LRESULT r = 0;
    if (AnswerOwnDrawnMenuItem(WM_DRAWITEM, LPARAM(&d), &r)) {
      c.width = size.cx, c.height = size.cy;
      for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) c.pixels.push_back(PixelOf(GetPixel(dc, x, y)));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return c;
  }
  HMENU menu = nullptr;
  UINT type = 0;
};

TEST_F(OwnMenu, AFontWithoutTheGlyphsIsNoticedAndTheChineseFaceHasThem) {
  LOGFONTW lf = {};
  lf.lfHeight = -12;
  wcscpy(lf.lfFaceName, L"Marlett");  // symbols only
  lf.lfCharSet = SYMBOL_CHARSET;
  HFONT symbols = CreateFontIndirectW(&lf);
  EXPECT_TRUE(MenuLacksGlyphs(menu, symbols));
  DeleteObject(symbols);
  lf.lfCharSet = DEFAULT_CHARSET;
  HFONT chinese = ChineseFontLike(lf);
  ASSERT_NE(nullptr, chinese) << "expected a Chinese face among the system's fonts";
  EXPECT_FALSE(MenuLacksGlyphs(menu, chinese));
  DeleteObject(chinese);
}

TEST_F(OwnMenu, ItemsKeepTheirTextsAndAreDrawnInTheMenusColours) {
  DrawMenuOurselves(menu);
  for (UINT command : {1u, 2u}) {
    dataOf(command);
    EXPECT_TRUE(type & MFT_OWNERDRAW) << "item " << command;
    wchar_t text[64] = {};
    GetMenuStringW(menu, command, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(command == 1 ? kCopy : kSave, text) << "expected the text kept for readers";
  }

  MEASUREITEMSTRUCT m = {};
  m.CtlType = ODT_MENU;
  m.itemID = 2;
  m.itemData = dataOf(2);
  LRESULT r = 0;
  ASSERT_TRUE(AnswerOwnDrawnMenuItem(WM_MEASUREITEM, LPARAM(&m), &r));
  const SIZE size = {LONG(m.itemWidth), LONG(m.itemHeight)};
  EXPECT_GT(size.cx, 4 * GetSystemMetrics(SM_CXMENUCHECK)) << "room for the check, the text and the shortcut";
  EXPECT_GE(size.cy, GetSystemMetrics(SM_CYMENUCHECK));

  const Capture plain = drawn(1, 0, size), picked = drawn(1, ODS_SELECTED, size);
  BOOL flat = FALSE;
  SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
  EXPECT_EQ(PixelOf(GetSysColor(COLOR_MENU)), mostCommon(plain));
  EXPECT_EQ(PixelOf(GetSysColor(flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT)), mostCommon(picked));
  EXPECT_GT(CountColour(plain, PixelOf(GetSysColor(COLOR_MENUTEXT)), {}, 60), 0) << "the text in the menu's colour";
  EXPECT_GT(CountColour(picked, PixelOf(GetSysColor(COLOR_HIGHLIGHTTEXT)), {}, 60), 0);
  EXPECT_EQ(0, CountColour(plain, PixelOf(GetSysColor(COLOR_HIGHLIGHT)), {}, 2)) << "no highlight unless picked";
  // Real glyphs: the two captions do not draw alike, as missing-glyph boxes would.
  EXPECT_NE(plain.pixels, drawn(2, 0, size).pixels);
  // The check mark shows where the item says so.
  const int check = GetSystemMetrics(SM_CXMENUCHECK) + 3;
  const RECT mark = {0, 0, check, size.cy};
  EXPECT_GT(CountColour(drawn(2, ODS_CHECKED, size), PixelOf(GetSysColor(COLOR_MENUTEXT)), mark, 60), 0);
  EXPECT_EQ(0, CountColour(drawn(2, 0, size), PixelOf(GetSysColor(COLOR_MENUTEXT)), mark, 60));

  ForgetOwnDrawnMenus();
  EXPECT_FALSE(AnswerOwnDrawnMenuItem(WM_MEASUREITEM, LPARAM(&m), &r)) << "nothing is answered once forgotten";
}

}  // namespace
}  // namespace lw
