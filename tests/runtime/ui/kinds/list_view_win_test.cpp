// The list view kind and its commands: rows inserted with arguments omitted, item
// texts by column, the current item, the events raised from clicks and keys with
// check boxes toggled by the unit, and a long feed listed in one go.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "runtime/core/services/service_table.h"
#include "runtime/ui/kinds/list_view_commands_win.h"
#include "tests/runtime/picture/test_files.h"
#include "tests/runtime/ui/control_host_win.h"
#include "tests/support/fatal_trap.h"

namespace lw {
namespace {

using testing::Bind;
using testing::Log;
using testing::MakeUnit;
using testing::PropsBlock;

constexpr uint32_t kList = 0x16000700;

ListViewProps twoColumns() {
  ListViewProps p;
  p.columns = {{false, -1, 0, 150, "日志"}, {false, -1, 0, 100, "ID"}};
  return p;
}

struct ListView : testing::ControlHost {
  HWND show(const ListViewProps& p, std::vector<EventBinding> events = {}) {
    EXPECT_NE(Load({MakeUnit(kList, unit_type::ListView, 10, 10, 300, 200, std::move(events),
                             PropsBlock(unit_type::ListView, p), unit_state::Visible | unit_state::TabStop)}),
              nullptr);
    return Hwnd(kList);
  }
  // Calls a list view command as the application does: the unit first, then
  // `argc - 1` further arguments, those not given passed as omitted.
  static ResultRecord call(LibraryCommand cmd, std::vector<ArgRecord> rest, int argc = 0) {
    std::vector<ArgRecord> args = {{Word(testing::kHostWindow), Word(kList), type::ListViewUnit}};
    args.insert(args.end(), rest.begin(), rest.end());
    while (int(args.size()) < argc) args.push_back({0, 0, type::None});
    return CallUnitCommand(cmd, int(args.size()), args.data(), 2);
  }
  static ArgRecord integer(int32_t v) { return {Word(uint32_t(v)), 0, type::Int}; }
  static ArgRecord text(const char* t) { return {reinterpret_cast<Word>(t), 0, type::Text}; }
  static std::string itemText(int item, int column) {
    ResultRecord r = call(&commands::GetItemText, {integer(item), integer(column)});
    auto* t = reinterpret_cast<char*>(r.low);
    std::string s = t ? t : "";
    FreeMemory(t);
    return s;
  }
  static int count(HWND h) { return int(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0)); }
};

TEST_F(ListView, InsertingWithEveryArgumentOmittedAppendsAnEmptyRow) {
  HWND h = show(twoColumns());
  EXPECT_EQ(int32_t(call(&commands::InsertRow, {}, 7).low), 0);
  EXPECT_EQ(int32_t(call(&commands::InsertRow, {}).low), 1) << "no further arguments at all";
  ASSERT_EQ(count(h), 2);
  EXPECT_EQ(itemText(1, 0), "");
  call(&commands::SetItemText, {integer(1), integer(1), text("9001")});
  call(&commands::SetItemText, {integer(1), {0, 0, type::None}, text("标题")});  // column omitted: 0
  EXPECT_EQ(itemText(1, 1), "9001") << "column 1 fills the second column";
  EXPECT_EQ(itemText(1, 0), "标题");
  EXPECT_EQ(itemText(0, 1), "");
  ResultRecord r = call(&commands::GetItemText, {integer(1)});
  EXPECT_STREQ(reinterpret_cast<char*>(r.low), "标题") << "column omitted: 0";
  FreeMemory(reinterpret_cast<void*>(r.low));
  // A position inserts there; a negative one, or one past the last row, appends.
  EXPECT_EQ(int32_t(call(&commands::InsertRow, {integer(0), text("first")}).low), 0);
  EXPECT_EQ(int32_t(call(&commands::InsertRow, {integer(-5), text("last")}).low), 3);
  EXPECT_EQ(int32_t(call(&commands::InsertRow, {integer(99), text("past")}).low), 4);
  EXPECT_EQ(itemText(0, 0), "first");
  EXPECT_EQ(itemText(2, 0), "标题");
  EXPECT_EQ(itemText(3, 0), "last");
  std::string longText(5000, 'x');
  call(&commands::SetItemText, {integer(3), integer(0), text(longText.c_str())});
  EXPECT_EQ(itemText(3, 0), longText) << "texts longer than a first buffer";
}

TEST_F(ListView, TheCurrentItemIsTheFirstSelectedOrMinusOne) {
  HWND h = show(twoColumns(), {Bind(list_view_event::CurrentItemChanged, 0)});
  EXPECT_EQ(ReadInt(kList, list_view_prop::CurrentItem), -1) << "empty list";
  for (int i = 0; i < 3; ++i) call(&commands::InsertRow, {});
  EXPECT_EQ(ReadInt(kList, list_view_prop::CurrentItem), -1) << "rows but no selection";
  WriteInt(kList, list_view_prop::CurrentItem, 2);
  EXPECT_EQ(ReadInt(kList, list_view_prop::CurrentItem), 2);
  EXPECT_EQ(Log().calls[0], 1) << "an item became the focused item";
  WriteInt(kList, list_view_prop::CurrentItem, -1);
  EXPECT_EQ(ReadInt(kList, list_view_prop::CurrentItem), -1);
  EXPECT_EQ(SendMessageA(h, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(ListView, StylesAndColoursComeFromTheProperties) {
  ListViewProps p = twoColumns();
  p.gridLines = 1;
  p.fullRowSelect = 1;
  p.checkBoxes = 1;
  p.backColour = 0x00FFFF;
  HWND h = show(p);
  const DWORD ex = DWORD(SendMessageA(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(ex & LVS_EX_CHECKBOXES);
  EXPECT_TRUE(ex & LVS_EX_SUBITEMIMAGES);
  EXPECT_TRUE(ex & LVS_EX_INFOTIP);
  EXPECT_EQ(SendMessageA(h, LVM_GETBKCOLOR, 0, 0), 0x00FFFF);
  EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // An item picture is cut into square images as tall as it is.
  std::vector<std::vector<uint32_t>> strip(16, std::vector<uint32_t>(48, 0xFF0000));
  WriteBytes(kList, list_view_prop::ItemImages, testing::makeBmp(strip, 24, {}));
  auto small = HIMAGELIST(SendMessageA(h, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(small), 3);
  WriteInt(kList, list_view_prop::ViewType, 2);  // changes in place, keeping the rows
  call(&commands::InsertRow, {});
  EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
  EXPECT_EQ(Hwnd(kList), h);
  EXPECT_EQ(count(h), 1);
}

// Clicks at a point of a window's client area with the real mouse (the list view
// tracks the button itself, so made-up button messages would leave it waiting).
void click(HWND h, int x, int y, bool right = false) {
  POINT at = {x, y};
  ClientToScreen(h, &at);
  SetForegroundWindow(GetAncestor(h, GA_ROOT));
  SetCursorPos(at.x, at.y);
  testing::PumpMessages(2);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof in[0]);
  testing::PumpMessages(10);
}

TEST_F(ListView, ClicksRaiseTheirEventsAndToggleCheckBoxesAfterwards) {
  ListViewProps p = twoColumns();
  p.checkBoxes = 1;
  HWND h = show(p, {Bind(list_view_event::Clicked, 0), Bind(list_view_event::RightClicked, 1),
                    Bind(list_view_event::CheckToggled, 2), Bind(list_view_event::KeyDown, 3)});
  call(&commands::InsertRow, {{0, 0, type::None}, text("one")});
  call(&commands::InsertRow, {{0, 0, type::None}, text("two"), {0, 0, type::None}, integer(1)});
  testing::PumpMessages(3);
  EXPECT_EQ(Log().calls[2], 0) << "a check state given at insertion raises nothing";
  EXPECT_EQ(SendMessageA(h, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));

  RECT label = {LVIR_LABEL};
  SendMessageA(h, LVM_GETITEMRECT, 0, LPARAM(&label));
  click(h, label.left + 10, (label.top + label.bottom) / 2);
  EXPECT_EQ(Log().calls[0], 1) << "left click";
  EXPECT_EQ(Log().calls[2], 0) << "not on the check box";
  click(h, label.left + 10, (label.top + label.bottom) / 2, true);
  EXPECT_EQ(Log().calls[1], 1) << "right click";

  RECT bounds = {LVIR_BOUNDS};
  SendMessageA(h, LVM_GETITEMRECT, 0, LPARAM(&bounds));
  LVHITTESTINFO hit = {};
  for (int x = bounds.left; x < label.left && !(hit.flags & LVHT_ONITEMSTATEICON); ++x) {
    hit.pt = {x, (bounds.top + bounds.bottom) / 2};
    SendMessageA(h, LVM_HITTEST, 0, LPARAM(&hit));
  }
  ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON) << "the row has a check box";
  click(h, hit.pt.x, hit.pt.y);
  EXPECT_EQ(Log().calls[0], 2);
  ASSERT_EQ(Log().calls[2], 1) << "the click toggled the box once";
  EXPECT_EQ(Log().lastArgs[2], (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(SendMessageA(h, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));

  // The space bar toggles the focused item's box, after the key event.
  SetFocus(h);
  SendMessageA(h, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(h, WM_KEYUP, VK_SPACE, 0);
  testing::PumpMessages(3);
  EXPECT_EQ(Log().lastArgs[3], (std::vector<uint32_t>{VK_SPACE}));
  ASSERT_EQ(Log().calls[2], 2);
  EXPECT_EQ(Log().lastArgs[2], (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(SendMessageA(h, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
}

TEST_F(ListView, HeaderClicksAndLabelEditsRaiseTheirEvents) {
  ListViewProps p = twoColumns();
  p.labelEdit = 1;
  HWND h = show(p, {Bind(list_view_event::ColumnClicked, 0), Bind(list_view_event::LabelEditStarting, 1)});
  call(&commands::InsertRow, {{0, 0, type::None}, text("edit me")});
  HWND header = HWND(SendMessageA(h, LVM_GETHEADER, 0, 0));
  RECT second;
  SendMessageA(header, HDM_GETITEMRECT, 1, LPARAM(&second));
  click(header, second.left + 20, (second.top + second.bottom) / 2);
  ASSERT_EQ(Log().calls[0], 1);
  EXPECT_EQ(Log().lastArgs[0], (std::vector<uint32_t>{1})) << "the column index";

  Log().answerPresent[1] = true;  // the handler answers 0: editing does not begin
  Log().answer[1] = 0;
  SetFocus(h);
  EXPECT_EQ(SendMessageA(h, LVM_EDITLABELA, 0, 0), 0);
  EXPECT_EQ(Log().calls[1], 1);
  EXPECT_EQ(Log().lastArgs[1], (std::vector<uint32_t>{0}));
  Log().answerPresent[1] = false;
  EXPECT_NE(SendMessageA(h, LVM_EDITLABELA, 0, 0), 0) << "without an answer editing begins";
  SendMessageA(h, LVM_CANCELEDITLABEL, 0, 0);
}

TEST_F(ListView, ThousandsOfRowsAreListedWithOneRepaint) {
  HWND h = show(twoColumns());
  const int rows = 3000;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rows; ++i) {
    ResultRecord r = call(&commands::InsertRow, {}, 7);
    std::string id = std::to_string(i);
    call(&commands::SetItemText, {integer(int32_t(r.low)), integer(0), text("一篇日志的标题")});
    call(&commands::SetItemText, {integer(int32_t(r.low)), integer(1), text(id.c_str())});
  }
  auto inserted = std::chrono::steady_clock::now();
  testing::PumpMessages(1);  // the handler returns: the list shows again
  UpdateWindow(h);
  auto shown = std::chrono::steady_clock::now();
  auto ms = [](auto a, auto b) { return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count(); };
  std::printf("  %d rows: inserted in %lld ms, shown %lld ms later\n", rows, (long long)ms(start, inserted),
              (long long)ms(inserted, shown));
  EXPECT_EQ(count(h), rows);
  EXPECT_EQ(itemText(rows - 1, 1), std::to_string(rows - 1));
  testing::Capture c = testing::CaptureClient(h);
  EXPECT_GT(testing::CountWhere(c, testing::Darkish), 50) << "the rows are drawn once redrawing is back";
}

TEST_F(ListView, CommandsOnAListThatIsNotLoadedAreFatal) {
  show(twoColumns());
  DestroyAllWindows();
  testing::FatalTrap trap;
  try {
    call(&commands::InsertRow, {});
    FAIL() << "expected a fatal error";
  } catch (const testing::FatalError& e) {
    EXPECT_STREQ(e.what(), "指定窗口或窗口组件不存在或尚未载入");
  }
}

}  // namespace
}  // namespace lw
