// The program's own two windows, loaded from the embedded window section with the
// real control kinds: every unit at its stored place and size, in its container,
// with its control id, caption and kind-specific look.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "program/window_section_data.h"
#include "runtime/core/text/codepage.h"  // WideToGbk
#include "runtime/ui/kinds/control_kinds_win.h"
#include "tests/runtime/ui/control_host_win.h"
#include "tests/support/program_captions.h"
#include "tests/support/program_driver_win.h"  // FindControl
#include "tests/support/start_window_layout.h"

namespace lw {
namespace {

using testing::CaptureClient;
using testing::CountColour;
using testing::CountWhere;
using testing::PixelOf;

constexpr uint32_t kStartWindow = 0x5201EA05, kQrWindow = 0x5201E9FF;
constexpr uint32_t kGroupBox = 0x1601EA5A, kListView = 0x1601EA5F, kStatusLabel = 0x1601EA08, kLabel2 = 0x1601EA0A,
                   kQrPicture = 0x1601EA20;

// What the loader makes of each of the start window's controls, placed as the shared
// layout says: its class, the control id it hands out, its text and its tab stop.
struct Expected {
  uint32_t id;
  const char* className;
  int controlId;
  const char* text;  // window text; null: not checked
  bool tabStop;
};

const Expected kStartUnits[] = {
    {0x1601EA0C, "Edit", 100, "", true},                       // 链接框
    {0x1601EA0B, "Edit", 110, "", true},                       // 编辑框生成
    {0x1601EA0A, "_QX_Label", 120, "说说或者日志地址", false},  // 标签2
    {0x1601EA09, "Button", 130, "生成识别链接", true},          // 按钮_转换
    {0x1601EA08, "_QX_Label", 140, "提示：", false},            // 标签_提示
    {0x1601EA07, "Button", 150, "显示二维码", true},            // 按钮_转换1
    {0x1601EA5A, "Button", 160, "", false},                    // 分组框1
    {0x1601EA5F, "SysListView32", 170, nullptr, true},         // 超级列表框日志
    {0x1601EA5E, "Edit", 180, "", true},                       // 编辑框QQ
    {0x1601EA5D, "Button", 190, "获取", true},                 // 获取
    {0x1601EA5C, "_QX_Label", 200, "QQ号：", false},           // 标签1
};
static_assert(std::size(kStartUnits) == std::size(testing::kStartControls), "every placed control");

struct ProgramWindows : ::testing::Test {
  void SetUp() override {
    InstallWindowSystem();
    testing::Log() = testing::HandlerLog{};
    ASSERT_TRUE(ReadLoadedWindows(program::kWindowSection, program::kWindowSectionLength,
                                  uintptr_t(testing::HandlerTable()),
                                  testing::kHandlerSlots * sizeof(EventHandler)));
  }
  void TearDown() override {
    DestroyAllWindows();
    ClearLoadedWindows();
    testing::PumpMessages(2);
  }
  static HWND hwndOf(uint32_t window, uint32_t unit) {
    Unit* u = FindLiveUnit(window, unit);
    return u ? HWND(u->hwnd) : nullptr;
  }
};

std::string classOf(HWND h) {
  char name[64] = {};
  GetClassNameA(h, name, sizeof name);
  return name;
}

TEST_F(ProgramWindows, TheStartWindowHasEveryUnitInPlaceWithItsControlId) {
  ASSERT_TRUE(LoadWindowById(kStartWindow, nullptr, false));
  HWND window = hwndOf(kStartWindow, 0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(testing::Log().calls[0], 1) << "the start window's creation handler runs once";
  RECT wr;
  GetWindowRect(window, &wr);
  EXPECT_EQ(wr.right - wr.left, 400);
  EXPECT_EQ(wr.bottom - wr.top, 504);
  EXPECT_EQ(WindowTextOf(window), "Linkwright");
  EXPECT_EQ(GetMenu(window), nullptr) << "the only menu entry is hidden";

  for (const Expected& e : kStartUnits) {
    SCOPED_TRACE(e.controlId);
    HWND h = hwndOf(kStartWindow, e.id);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(classOf(h), e.className);
    const testing::PlacedControl& at = testing::PlacedControlOf(e.id);
    HWND parent = at.parent ? hwndOf(kStartWindow, at.parent) : window;
    EXPECT_EQ(GetParent(h), parent);
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, at.left);
    EXPECT_EQ(r.top, at.top);
    EXPECT_EQ(r.right - r.left, at.width);
    EXPECT_EQ(r.bottom - r.top, at.height);
    EXPECT_EQ(GetDlgCtrlID(h), e.controlId);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ((GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) != 0, e.tabStop);
    if (e.text) {
      EXPECT_EQ(WindowTextOf(h), e.text);
    }
  }
}

TEST_F(ProgramWindows, TheStartWindowsControlsLookAsStored) {
  ASSERT_TRUE(LoadWindowById(kStartWindow, nullptr, false));
  // 编辑框生成 is multi-line; the single-line boxes keep the sunken border.
  HWND generated = hwndOf(kStartWindow, 0x1601EA0B), link = hwndOf(kStartWindow, 0x1601EA0C);
  EXPECT_TRUE(GetWindowLongA(generated, GWL_STYLE) & ES_MULTILINE);
  EXPECT_FALSE(GetWindowLongA(link, GWL_STYLE) & ES_MULTILINE);
  EXPECT_TRUE(GetWindowLongA(link, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // The group box is a group box; the buttons are push buttons.
  EXPECT_EQ(GetWindowLongA(hwndOf(kStartWindow, kGroupBox), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  // (Whether one looks like the default follows the focus.)
  const LONG type = GetWindowLongA(hwndOf(kStartWindow, 0x1601EA09), GWL_STYLE) & BS_TYPEMASK;
  EXPECT_TRUE(type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) << "expected a push button, got type " << type;

  // The list view: report view, single selection, two left-aligned columns.
  HWND list = hwndOf(kStartWindow, kListView);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & LVS_SINGLESEL);
  HWND header = HWND(SendMessageA(list, LVM_GETHEADER, 0, 0));
  ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
  const char* names[] = {"日志", "ID"};
  const int widths[] = {250, 150};
  for (int i = 0; i < 2; ++i) {
    char text[32] = {};
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.pszText = text;
    col.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, LPARAM(&col)));
    EXPECT_STREQ(text, names[i]);
    EXPECT_EQ(col.cx, widths[i]);
    EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  }
  EXPECT_EQ(int32_t(ReadUnitProperty(kStartWindow, kListView, list_view_prop::CurrentItem, -1)), -1)
      << "no current item";
}

TEST_F(ProgramWindows, TheStatusLabelIsRedOnTheButtonFace) {
  ASSERT_TRUE(LoadWindowById(kStartWindow, nullptr, false));
  HWND window = hwndOf(kStartWindow, 0);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const uint32_t face = PixelOf(GetSysColor(COLOR_BTNFACE));
  testing::Capture status = CaptureClient(hwndOf(kStartWindow, kStatusLabel));
  ASSERT_EQ(status.width, 320);
  EXPECT_GT(CountWhere(status, testing::Reddish), 15) << "the caption is drawn in red";
  EXPECT_EQ(CountWhere(status, testing::Darkish), 0);
  EXPECT_GT(CountColour(status, face), status.width * status.height * 9 / 10)
      << "the default background is the button face";
  testing::Capture plain = CaptureClient(hwndOf(kStartWindow, kLabel2));
  EXPECT_GT(CountWhere(plain, testing::Darkish), 15);
  EXPECT_EQ(CountWhere(plain, testing::Reddish), 0);
}

TEST_F(ProgramWindows, TheQrWindowHoldsOneStretchingAnimatingPictureBox) {
  ASSERT_TRUE(LoadWindowById(kQrWindow, nullptr, false));
  HWND window = hwndOf(kQrWindow, 0);
  ASSERT_NE(window, nullptr);
  RECT wr;
  GetWindowRect(window, &wr);
  EXPECT_EQ(wr.right - wr.left, 309);
  EXPECT_EQ(wr.bottom - wr.top, 312);
  HWND box = hwndOf(kQrWindow, kQrPicture);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(classOf(box), "_QX_PicBox");
  EXPECT_EQ(GetDlgCtrlID(box), 100);
  RECT r;
  GetWindowRect(box, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 11);
  EXPECT_EQ(r.top, 4);
  EXPECT_EQ(r.right - r.left, 270);
  EXPECT_EQ(r.bottom - r.top, 270);
  EXPECT_EQ(int32_t(ReadUnitProperty(kQrWindow, kQrPicture, pic_box_prop::DisplayMode, -1)), 1) << "stretched";
  EXPECT_EQ(int32_t(ReadUnitProperty(kQrWindow, kQrPicture, pic_box_prop::Animate, -1)), 1) << "animate";
  EXPECT_EQ(ReadUnitProperty(kQrWindow, kQrPicture, pic_box_prop::Picture, -1), 0u) << "no picture";
}

// The characters of `text` the font `control` draws with has no glyph for (a
// control that answers no font draws with the stock GUI font): the font's name and
// their code points, or empty when every character has a glyph.
std::string missingGlyphs(HWND control, const wchar_t* text) {
  HFONT font = HFONT(SendMessageW(control, WM_GETFONT, 0, 0));
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
  const int n = int(wcslen(text));
  std::vector<WORD> glyphs(size_t(n) + 1);
  std::string missing;
  if (GetGlyphIndicesW(dc, text, n, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) missing = " (no answer)";
  for (int i = 0; i < n; ++i) {
    char code[16];
    snprintf(code, sizeof code, " U+%04X", unsigned(text[i]));
    if (glyphs[size_t(i)] == 0xFFFF) missing += code;
  }
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return missing.empty() ? missing : WideToGbk(reinterpret_cast<const char16_t*>(face), wcslen(face)) + ":" + missing;
}

TEST_F(ProgramWindows, EveryCaptionHasAGlyphForEachCharacterInTheFontItIsDrawnWith) {
  ASSERT_TRUE(LoadWindowById(kStartWindow, nullptr, false));
  ASSERT_TRUE(LoadWindowById(kQrWindow, nullptr, false));
  for (const testing::ProgramCaption& c : testing::kProgramCaptions) {
    SCOPED_TRACE(c.controlId);
    HWND window = hwndOf(c.window == testing::ProgramWindow::Start ? kStartWindow : kQrWindow, 0);
    HWND h = c.controlId ? testing::FindControl(window, c.controlId) : window;
    ASSERT_NE(h, nullptr);
    // A window's own title is drawn by the system with its caption font.
    if (c.controlId) {
      EXPECT_EQ(missingGlyphs(h, c.text), "");
    }
  }
  HWND list = testing::FindControl(hwndOf(kStartWindow, 0), testing::kLogListId);
  HWND header = HWND(SendMessageW(list, LVM_GETHEADER, 0, 0));
  for (const wchar_t* title : testing::kLogColumnTitles) EXPECT_EQ(missingGlyphs(header, title), "");
}

}  // namespace
}  // namespace lw
