// The whole program used from the keyboard alone, with real keystrokes through the
// system's input queue: where the focus is at start, paste and Enter, the Tab cycle
// both ways, Enter in the QQ box, the row menu from the arrows, Shift+F10 and the
// menu key, and a button pressed with Space. Like the other end-to-end tests it
// runs under several system code pages; every text is read in UTF-16.
#include <cstdlib>
#include <iterator>

#include "tests/app/end_to_end_session_win.h"
#include "tests/support/keyboard_input_win.h"

namespace {

using namespace e2e;
using lw::testing::FocusOf;
using lw::testing::PressKey;

const std::string kTwoPostFeed = std::string(u8"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<rss><channel>") +
                                 u8"<item><title><![CDATA[第一篇]]></title>"
                                 u8"<link>http://user.qzone.qq.com/12345/blog/1300000001</link></item>"
                                 u8"<item><title><![CDATA[第二篇]]></title>"
                                 u8"<link>http://user.qzone.qq.com/12345/blog/1300000002</link></item>"
                                 u8"</channel></rss>\r\n";
const char kFeedTarget[] = "/cgi-bin/cgi_rss_out?uin=12345";

struct Keyboard : EndToEndSession {
  // Starts the program and makes its start window the one the keyboard types into.
  void startAtTheKeyboard() {
    ASSERT_NO_FATAL_FAILURE(startNormally());
    ASSERT_TRUE(lw::testing::BringToFront(main)) << "expected the start window in the foreground";
  }
  int focusedId() { return GetDlgCtrlID(FocusOf(main)); }
  bool focusComesTo(int id) {
    return lw::testing::WaitUntil([&] { return focusedId() == id; }, 3000);
  }
  int feedRequests() {
    int n = 0;
    for (const std::string& target : targetsOf(server.Requests())) n += target == kFeedTarget;
    return n;
  }
};

TEST_F(Keyboard, FocusStartsInTheAddressBoxAndPasteThenEnterConverts) {
  ASSERT_NO_FATAL_FAILURE(startAtTheKeyboard());
  EXPECT_TRUE(focusComesTo(k链接框)) << "expected the caret in 链接框, got control " << focusedId();

  // Something typed first, then Ctrl+A and Ctrl+V: the paste replaces all of it.
  const std::wstring address = L"http://user.qzone.qq.com/12345/blog/678";
  ASSERT_TRUE(putOnClipboard(gbk(address)));
  lw::testing::TypeText(L"旧的 text");
  PressKey('A', lw::testing::kCtrl);
  PressKey('V', lw::testing::kCtrl);
  EXPECT_EQ(address, shown(k链接框));

  PressKey(VK_RETURN);
  const std::wstring expected = blogShareAddress(L"12345", L"678");
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return shown(k编辑框生成) == expected; }))
      << "expected Enter to convert, got " << gbk(shown(k编辑框生成));
  EXPECT_EQ(L"已经转换您的日志链接，并复制到剪辑版，可直接粘贴！", shown(k标签_提示));
  EXPECT_TRUE(clipboardHolds(expected));
  EXPECT_EQ(k链接框, focusedId()) << "expected the focus to stay in the box";
  EXPECT_EQ(address, shown(k链接框)) << "expected Enter to type nothing into the box";
  closeNormally();
}

TEST_F(Keyboard, TabVisitsTheControlsInReadingOrderBothWaysAndLeavesEveryBox) {
  ASSERT_NO_FATAL_FAILURE(startAtTheKeyboard());
  ASSERT_TRUE(focusComesTo(k链接框));
  // Reading order; 编辑框生成 is multi-line and still lets Tab go on.
  const int forwards[] = {k按钮_转换, k按钮_转换1, k编辑框生成, k超级列表框日志, k编辑框QQ, k获取, k链接框};
  std::vector<int> seen, expected(std::begin(forwards), std::end(forwards));
  for (size_t i = 0; i < expected.size(); ++i) {
    PressKey(VK_TAB);
    seen.push_back(focusedId());
  }
  EXPECT_EQ(expected, seen) << "Tab";

  seen.clear();
  expected.assign(std::rbegin(forwards) + 1, std::rend(forwards));
  expected.push_back(k链接框);
  for (size_t i = 0; i < expected.size(); ++i) {
    PressKey(VK_TAB, lw::testing::kShift);
    seen.push_back(focusedId());
  }
  EXPECT_EQ(expected, seen) << "Shift+Tab";
  EXPECT_EQ(L"", shown(k编辑框生成)) << "expected no tab typed into the multi-line box";
  closeNormally();
}

// The button that looks like the default is the one Enter presses from where the
// focus is, however the focus got there: by Tab, or by a click after a button had it.
TEST_F(Keyboard, TheDefaultButtonsLookFollowsTheFocus) {
  ASSERT_NO_FATAL_FAILURE(startAtTheKeyboard());
  ASSERT_TRUE(focusComesTo(k链接框));
  auto lookingDefault = [&] {
    for (int id : {k按钮_转换, k按钮_转换1, k获取})
      if ((GetWindowLongW(control(id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return id;
    return 0;
  };
  auto clickInto = [&](int id) {
    RECT r = {};
    GetWindowRect(control(id), &r);
    lw::testing::ClickAtScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  };
  auto countLookingDefault = [&] {
    int n = 0;
    for (int id : {k按钮_转换, k按钮_转换1, k获取})
      n += (GetWindowLongW(control(id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    return n;
  };
  struct Stop {
    int focus, looksDefault;  // 0: no button
  };
  const Stop stops[] = {{k链接框, k按钮_转换}, {k按钮_转换, k按钮_转换}, {k按钮_转换1, k按钮_转换1}, {k编辑框生成, 0},
                        {k超级列表框日志, 0}, {k编辑框QQ, k获取},  {k获取, k获取},           {k链接框, k按钮_转换}};
  for (size_t i = 0; i < std::size(stops); ++i) {
    if (i > 0) PressKey(VK_TAB);
    ASSERT_TRUE(focusComesTo(stops[i].focus)) << "expected Tab to reach control " << stops[i].focus;
    // The look settles once the key has been handled, just after the focus moved.
    lw::testing::WaitUntil([&] { return lookingDefault() == stops[i].looksDefault; }, 1000);
    EXPECT_EQ(stops[i].looksDefault, lookingDefault()) << "with the focus in control " << stops[i].focus;
    EXPECT_LE(countLookingDefault(), 1) << "with the focus in control " << stops[i].focus;
  }
  // A click into a box after a button had the focus.
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  ASSERT_TRUE(focusComesTo(k按钮_转换1));
  clickInto(k编辑框QQ);
  ASSERT_TRUE(focusComesTo(k编辑框QQ));
  lw::testing::WaitUntil([&] { return lookingDefault() == k获取; }, 1000);
  EXPECT_EQ(k获取, lookingDefault()) << "after a click from 显示二维码 into 编辑框QQ";
  clickInto(k链接框);
  ASSERT_TRUE(focusComesTo(k链接框));
  lw::testing::WaitUntil([&] { return lookingDefault() == k按钮_转换; }, 1000);
  EXPECT_EQ(k按钮_转换, lookingDefault()) << "after a click back into 链接框";
  EXPECT_EQ(1, countLookingDefault());
  closeNormally();
}

TEST_F(Keyboard, EnterInTheQqBoxFetchesOnceAndTheRowMenuAndEnterActOnARow) {
  ASSERT_NO_FATAL_FAILURE(startAtTheKeyboard());
  server.Serve(kFeedTarget, HttpResponse("200 OK", "Content-Type: text/xml; charset=utf-8\r\n", kTwoPostFeed));
  ASSERT_TRUE(focusComesTo(k链接框));
  PressKey(VK_TAB, lw::testing::kShift);
  PressKey(VK_TAB, lw::testing::kShift);
  ASSERT_EQ(k编辑框QQ, focusedId());
  lw::testing::TypeText(L"12345");
  PressKey(VK_RETURN);
  HWND list = control(k超级列表框日志);
  ASSERT_TRUE(lw::testing::WaitUntil([&] { return lw::testing::ListRowCount(list) == 2; }));
  Sleep(300);
  EXPECT_EQ(1, feedRequests()) << "expected exactly one fetch for one Enter";
  EXPECT_EQ(2, lw::testing::ListRowCount(list));

  // Into the list; no row is selected yet, so no menu opens. The first row takes
  // the focus, so that it shows and a screen reader names it.
  PressKey(VK_TAB, lw::testing::kShift);
  ASSERT_EQ(k超级列表框日志, focusedId());
  ASSERT_EQ(-1, int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)));
  EXPECT_EQ(0, int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED))) << "expected the first row focused";
  PressKey(VK_F10, lw::testing::kShift);
  EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32768", 700)) << "expected no menu without a selected row";
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread);
  EXPECT_FALSE(thread.flags & GUI_INMENUMODE) << "expected Shift+F10 to leave the menu bar's keyboard mode alone";

  // The arrows pick a row; Shift+F10 and then the menu key open the menu at it. (A
  // key that would move the focus to the row it is on already picks nothing under
  // Wine, so the way to the first row goes by the last.)
  auto pickRow = [&](int row) {
    PressKey(VK_END);
    PressKey(VK_HOME);
    for (int i = 0; i < row; ++i) PressKey(VK_DOWN);
  };
  struct Case {
    const char* what;
    WORD key;
    unsigned modifiers;
    int row;
  };
  const Case cases[] = {{"Shift+F10", VK_F10, lw::testing::kShift, 0}, {"the menu key", VK_APPS, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pickRow(c.row);
    ASSERT_EQ(c.row, int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)));
    PressKey(c.key, c.modifiers);
    HWND menu = program.WaitForWindowOfClass(L"#32768", 3000);
    ASSERT_NE(nullptr, menu) << "expected the row menu";
    RECT rowRect = lw::testing::ListRowOnScreen(program.pi.hProcess, list, c.row), menuRect = {};
    GetWindowRect(menu, &menuRect);
    EXPECT_LE(std::abs(menuRect.left - rowRect.left), 4) << "menu at " << menuRect.left << ", row at " << rowRect.left;
    EXPECT_LE(std::abs(menuRect.top - rowRect.bottom), 4) << "menu at " << menuRect.top << ", row ends at " << rowRect.bottom;
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    const std::wstring expected = blogShareAddress(L"12345", c.row == 0 ? L"1300000001" : L"1300000002");
    EXPECT_TRUE(lw::testing::WaitUntil([&] { return shown(k编辑框生成) == expected; }))
        << "expected the row's address, got " << gbk(shown(k编辑框生成));
    EXPECT_EQ(k超级列表框日志, focusedId()) << "expected the focus back in the list";
  }

  // Enter on a picked row does what the menu's 生成链接 does, and the focus stays.
  for (int row : {0, 1}) {
    SCOPED_TRACE("Enter on row " + std::to_string(row + 1));
    pickRow(row);
    PressKey(VK_RETURN);
    const std::wstring expected = blogShareAddress(L"12345", row == 0 ? L"1300000001" : L"1300000002");
    EXPECT_TRUE(lw::testing::WaitUntil([&] { return shown(k编辑框生成) == expected; }))
        << "expected the row's address, got " << gbk(shown(k编辑框生成));
    EXPECT_EQ(k超级列表框日志, focusedId()) << "expected the focus to stay in the list";
    EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32768", 200)) << "expected no menu";
  }
  EXPECT_EQ(1, feedRequests());
  closeNormally();
}

TEST_F(Keyboard, SpaceOnTheQrButtonOpensTheQrWindow) {
  ASSERT_NO_FATAL_FAILURE(startAtTheKeyboard());
  ASSERT_TRUE(focusComesTo(k链接框));
  lw::testing::TypeText(L"http://user.qzone.qq.com/12345/blog/678");
  PressKey(VK_RETURN);
  ASSERT_TRUE(lw::testing::WaitUntil([&] { return !shown(k编辑框生成).empty(); }));
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  ASSERT_EQ(k按钮_转换1, focusedId());
  PressKey(VK_SPACE);
  HWND qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
  EXPECT_NE(nullptr, qr) << "expected Space on 显示二维码 to open the QR window";
  if (qr) PostMessageW(qr, WM_CLOSE, 0, 0);
  closeNormally();
}

}  // namespace
