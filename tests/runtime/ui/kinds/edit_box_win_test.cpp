// The edit box kind: styles from its properties, the content-changed event (once
// per write, never during creation), the selection rules, re-creation for style
// changes, the up-down buddy, colours and focus events.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/runtime/ui/control_host_win.h"

namespace lw {
namespace {

using testing::Bind;
using testing::Log;
using testing::MakeUnit;
using testing::PropsBlock;

constexpr uint32_t kEdit = 0x16000300, kOther = 0x16000301;

struct EditBox : testing::ControlHost {
  HWND show(const EditProps& p, std::vector<EventBinding> events = {}) {
    std::vector<UnitRecord> units;
    units.push_back(MakeUnit(kEdit, unit_type::EditBox, 10, 10, 200, 60, std::move(events),
                             PropsBlock(unit_type::EditBox, p), unit_state::Visible | unit_state::TabStop));
    units.push_back(MakeUnit(kOther, unit_type::EditBox, 10, 100, 200, 24, {}, {},
                             unit_state::Visible | unit_state::TabStop));
    EXPECT_NE(Load(std::move(units)), nullptr);
    return Hwnd(kEdit);
  }
  static LONG style(HWND h) { return GetWindowLongA(h, GWL_STYLE); }
  static std::pair<int, int> selection(HWND h) {
    DWORD from = 0, to = 0;
    SendMessageA(h, EM_GETSEL, WPARAM(&from), LPARAM(&to));
    return {int(from), int(to)};
  }
};

TEST_F(EditBox, EveryWriteOfTheContentRaisesOneEventAndCreationNone) {
  EditProps p;
  p.text = "stored at creation";
  HWND h = show(p, {Bind(edit_event::Changed, 0)});
  EXPECT_EQ(Log().calls[0], 0) << "the text stored at creation raises nothing";
  EXPECT_EQ(ReadText(kEdit, edit_prop::Text), "stored at creation");
  WriteText(kEdit, edit_prop::Text, "abc");
  EXPECT_EQ(Log().calls[0], 1);
  WriteText(kEdit, edit_prop::Text, "abc");
  EXPECT_EQ(Log().calls[0], 2) << "even when the text does not change";
  WriteText(kEdit, edit_prop::Text, nullptr);
  EXPECT_EQ(Log().calls[0], 3);
  EXPECT_EQ(ReadUnitProperty(testing::kHostWindow, kEdit, edit_prop::Text, -1), 0u) << "an empty box reads as null";
  SendMessageA(h, WM_CHAR, 'x', 0);  // the user types
  EXPECT_EQ(Log().calls[0], 4);
  EXPECT_EQ(ReadText(kEdit, edit_prop::Text), "x");
}

TEST_F(EditBox, StylesComeFromTheProperties) {
  EditProps p;
  p.multiLine = 1;
  p.scrollBars = 3;
  p.alignment = 2;
  p.caseConversion = 2;
  p.hideSelection = 0;
  HWND multi = show(p);
  EXPECT_TRUE(style(multi) & ES_MULTILINE);
  EXPECT_TRUE(style(multi) & WS_VSCROLL);
  EXPECT_TRUE(style(multi) & WS_HSCROLL);
  EXPECT_TRUE(style(multi) & ES_WANTRETURN);
  EXPECT_TRUE(style(multi) & ES_RIGHT);
  EXPECT_TRUE(style(multi) & ES_UPPERCASE);
  EXPECT_TRUE(style(multi) & ES_NOHIDESEL);
  TearDown();
  SetUp();
  p.multiLine = 0;  // single line: the scroll-bar setting is ignored
  p.inputMode = 1;
  HWND single = show(p);
  EXPECT_FALSE(style(single) & (WS_VSCROLL | WS_HSCROLL | ES_MULTILINE));
  EXPECT_TRUE(style(single) & ES_AUTOHSCROLL);
  EXPECT_TRUE(style(single) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongA(single, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "border 1: sunken";
}

TEST_F(EditBox, PasswordModeUsesTheMaskCharacter) {
  EditProps p;
  p.inputMode = 2;
  HWND h = show(p);
  EXPECT_EQ(SendMessageA(h, EM_GETPASSWORDCHAR, 0, 0), '*');
  WriteText(kEdit, edit_prop::MaskChar, "#x");
  EXPECT_EQ(SendMessageA(h, EM_GETPASSWORDCHAR, 0, 0), '#') << "the first byte of the text";
  EXPECT_EQ(ReadText(kEdit, edit_prop::MaskChar), "#");
  WriteText(kEdit, edit_prop::MaskChar, "");
  EXPECT_EQ(SendMessageA(h, EM_GETPASSWORDCHAR, 0, 0), '#') << "an empty text keeps the mask";
  WriteInt(kEdit, edit_prop::InputMode, 1);
  EXPECT_EQ(SendMessageA(h, EM_GETPASSWORDCHAR, 0, 0), 0);
  EXPECT_TRUE(style(h) & ES_READONLY);
  WriteInt(kEdit, edit_prop::InputMode, 40);
  EXPECT_EQ(ReadInt(kEdit, edit_prop::InputMode), 11) << "modes beyond 11 are clamped";
  EXPECT_FALSE(style(h) & ES_READONLY);
}

TEST_F(EditBox, SelectionFollowsTheMinusOneRules) {
  EditProps p;
  p.text = "hello world";
  p.selStart = 2;
  p.selLength = 3;
  HWND h = show(p);
  EXPECT_EQ(selection(h), std::make_pair(2, 5)) << "set at creation";
  WriteInt(kEdit, edit_prop::SelStart, -1);
  EXPECT_EQ(selection(h), std::make_pair(11, 11)) << "start -1: caret at the end";
  WriteInt(kEdit, edit_prop::SelLength, -1);
  EXPECT_EQ(selection(h), std::make_pair(0, 11)) << "length -1: everything";
  WriteInt(kEdit, edit_prop::SelStart, -7);
  EXPECT_EQ(ReadInt(kEdit, edit_prop::SelStart), 0);
  WriteInt(kEdit, edit_prop::SelStart, 6);
  WriteInt(kEdit, edit_prop::SelLength, 5);
  EXPECT_EQ(selection(h), std::make_pair(6, 11));
  EXPECT_EQ(ReadText(kEdit, edit_prop::SelText), "world");
  WriteText(kEdit, edit_prop::SelText, "there");
  EXPECT_EQ(ReadText(kEdit, edit_prop::Text), "hello there");
}

TEST_F(EditBox, PositionsAndLimitsCountGbkBytesWhileTheBoxCountsUnits) {
  EditProps p;
  p.text = "中a文bc";  // bytes: 中 0-1, a 2, 文 3-4, b 5, c 6; units 0, 1, 2, 3, 4
  p.selStart = 3;
  p.selLength = 2;
  HWND h = show(p);
  DWORD from = 0, to = 0;
  SendMessageW(h, EM_GETSEL, WPARAM(&from), LPARAM(&to));
  EXPECT_EQ(std::make_pair(int(from), int(to)), std::make_pair(2, 3)) << "bytes 3-5 are the unit 文";
  EXPECT_EQ(ReadText(kEdit, edit_prop::SelText), "文");
  SendMessageW(h, EM_SETSEL, 1, 4);  // the user selects a文b
  EXPECT_EQ(ReadInt(kEdit, edit_prop::SelStart), 2);
  EXPECT_EQ(ReadInt(kEdit, edit_prop::SelLength), 4);
  WriteInt(kEdit, edit_prop::SelStart, 1);  // inside 中: moves to its start
  EXPECT_EQ(ReadInt(kEdit, edit_prop::SelStart), 0);
  WriteInt(kEdit, edit_prop::MaxLength, 8);
  SendMessageW(h, EM_SETSEL, 5, 5);
  SendMessageW(h, WM_CHAR, L'中', 0);  // two more bytes would make 9
  EXPECT_EQ(ReadText(kEdit, edit_prop::Text), "中a文bc") << "a character past the byte limit is refused";
  SendMessageW(h, WM_CHAR, L'x', 0);
  EXPECT_EQ(ReadText(kEdit, edit_prop::Text), "中a文bcx");
  WriteText(kEdit, edit_prop::Text, "中a文bcxy");  // 9 bytes: the program may write past the limit
  SendMessageW(h, EM_SETSEL, 7, 7);
  SendMessageW(h, WM_CHAR, L'q', 0);
  EXPECT_EQ(ReadText(kEdit, edit_prop::Text), "中a文bcxy") << "the user cannot grow it, and nothing written is lost";
}

TEST_F(EditBox, AStyleChangeRecreatesTheBoxKeepingItsTextAndId) {
  EditProps p;
  p.text = "keep me";
  HWND before = show(p, {Bind(edit_event::Changed, 0)});
  const int id = GetDlgCtrlID(before);
  WriteInt(kEdit, edit_prop::MultiLine, 0);  // unchanged: no new window
  EXPECT_EQ(Hwnd(kEdit), before);
  WriteInt(kEdit, edit_prop::MultiLine, 1);
  HWND after = Hwnd(kEdit);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_TRUE(style(after) & ES_MULTILINE);
  EXPECT_EQ(ReadText(kEdit, edit_prop::Text), "keep me");
  EXPECT_EQ(GetDlgCtrlID(after), id);
  EXPECT_EQ(Log().calls[0], 0) << "re-creation raises no content event";
  RECT r;
  GetWindowRect(after, &r);
  MapWindowPoints(nullptr, GetParent(after), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.right - r.left, 200);
  WriteInt(kEdit, edit_prop::MaxLength, 5);  // applied in place
  EXPECT_EQ(Hwnd(kEdit), after);
  EXPECT_EQ(SendMessageA(after, EM_GETLIMITTEXT, 0, 0), 5);
  WriteInt(kEdit, edit_prop::MaxLength, -3);
  EXPECT_EQ(ReadInt(kEdit, edit_prop::MaxLength), 0);
}

TEST_F(EditBox, ASpinModeAddsAnUpDownBuddyThatFollowsTheBox) {
  EditProps p;
  p.spinMode = 1;
  p.spinLower = 10;
  p.spinUpper = 1;  // the range runs from the smaller to the larger
  HWND h = show(p);
  HWND buddy = GetDlgItem(GetParent(h), GetDlgCtrlID(h) + 4);
  ASSERT_NE(buddy, nullptr);
  char cls[32] = {};
  GetClassNameA(buddy, cls, sizeof cls);
  EXPECT_STREQ(cls, "msctls_updown32");
  EXPECT_EQ(HWND(SendMessageA(buddy, UDM_GETBUDDY, 0, 0)), h);
  int lo = -1, hi = -1;
  SendMessageA(buddy, UDM_GETRANGE32, WPARAM(&lo), LPARAM(&hi));
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 10);
  EXPECT_TRUE(IsWindowVisible(buddy));
  WriteInt(kEdit, unit_prop::Disabled, 1);
  EXPECT_FALSE(IsWindowEnabled(buddy)) << "disabled with the edit box";
  WriteInt(kEdit, unit_prop::Visible, 0);
  EXPECT_FALSE(IsWindowVisible(buddy)) << "hidden with the edit box";
}

TEST_F(EditBox, ColoursAndFocusEvents) {
  EditProps p;
  p.text = "MMMM";
  p.textColour = 0x0000FF;  // red
  p.backColour = 0xFF0000;  // blue
  HWND h = show(p, {Bind(unit_event::FocusGained, 1), Bind(unit_event::FocusLost, 2)});
  testing::Capture c = testing::CaptureClient(h);
  EXPECT_GT(testing::CountColour(c, 0x0000FF), c.width * c.height / 2) << "blue background";
  EXPECT_GT(testing::CountWhere(c, testing::Reddish), 10) << "red text";
  // The box is the window's first tab stop, so the first showing gave it the focus.
  EXPECT_EQ(GetFocus(), h);
  EXPECT_EQ(Log().calls[1], 1);
  SetFocus(Hwnd(kOther));
  EXPECT_EQ(Log().calls[2], 1);
  SetFocus(h);
  EXPECT_EQ(Log().calls[1], 2);
}

}  // namespace
}  // namespace lw
