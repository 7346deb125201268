// The list click on the real start window: a click on a row or on empty space
// clears the output box, takes the row's post id and pops up the menu at the
// cursor; choosing "生成链接" builds the blog share address for the typed QQ number.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <string>

#include "app/link_conversion.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/values/memory.h"
#include "runtime/ui/kinds/list_view_commands_win.h"
#include "tests/support/start_window_win.h"

namespace {

namespace ids = app::ids;
using lw::testing::ClipboardText;
using lw::testing::PumpMessages;
using lw::testing::PutOnClipboard;

// Watches for the pop-up menu from another thread, notes where it opened, and
// then chooses its first item or dismisses it.
struct MenuWatch {
  bool choose = true;
  bool seen = false;
  RECT where = {};
};

DWORD WINAPI watchMenu(LPVOID param) {
  auto* w = static_cast<MenuWatch*>(param);
  for (int i = 0; i < 250; ++i) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
      w->seen = true;
      GetWindowRect(menu, &w->where);
      if (w->choose) {
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
      } else {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      }
      return 1;
    }
    Sleep(20);
  }
  return 0;
}

struct ListClick : lw::testing::StartWindowTest {
  void SetUp() override {
    StartWindowTest::SetUp();
    addRow("第一篇", "111");
    addRow("第二篇", "222");
  }

  static lw::ArgRecord list() { return {ids::StartWindow, ids::超级列表框日志, lw::type::ListViewUnit}; }
  static void addRow(const char* title, const char* id) {
    lw::ArgRecord insert[1] = {list()};
    int32_t row = int32_t(lw::CallLibraryCommand(&lw::commands::InsertRow, 1, insert).low);
    for (int32_t column = 0; column < 2; ++column) {
      lw::ArgRecord set[4] = {list(), {lw::Word(row), 0, lw::type::Int}, {lw::Word(column), 0, lw::type::Int},
                              {lw::Word(uintptr_t(column ? id : title)), 0, lw::type::Text}};
      lw::CallLibraryCommand(&lw::commands::SetItemText, 4, set);
    }
  }

  // Clicks the list at a point of its client area, with the mouse cursor resting
  // at (200, 150) on the screen, and lets the menu watcher act on the pop-up menu.
  MenuWatch clickAt(POINT at, bool choose) {
    MenuWatch watch;
    watch.choose = choose;
    SetCursorPos(200, 150);
    HANDLE watcher = CreateThread(nullptr, 0, &watchMenu, &watch, 0, nullptr);
    HWND h = Control(ids::超级列表框日志);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    for (int i = 0; i < 100 && WaitForSingleObject(watcher, 0) == WAIT_TIMEOUT; ++i) PumpMessages(1);
    WaitForSingleObject(watcher, 5000);
    CloseHandle(watcher);
    PumpMessages(10);  // the chosen item arrives after the menu closed
    return watch;
  }
  POINT rowCentre(int row) {
    RECT r = {};
    r.left = LVIR_LABEL;
    SendMessageA(Control(ids::超级列表框日志), LVM_GETITEMRECT, WPARAM(row), LPARAM(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  POINT emptySpace() {
    RECT client;
    GetClientRect(Control(ids::超级列表框日志), &client);
    return {client.right / 2, client.bottom - 4};
  }
  static std::string postId() { return app::g_state.postId ? app::g_state.postId : ""; }
};

TEST_F(ListClick, ARowsIdAndTheMenuItemMakeItsBlogAddress) {
  Type(ids::编辑框QQ, "10001");
  MenuWatch watch = clickAt(rowCentre(1), true);
  ASSERT_TRUE(watch.seen) << "expected the pop-up menu";
  EXPECT_EQ(200, watch.where.left) << "expected the menu at the cursor, without an offset";
  EXPECT_EQ(150, watch.where.top);
  EXPECT_EQ("222", postId());
  lw::Text expected = app::blogShareAddress("10001", "222");
  EXPECT_EQ(std::string(expected), Shown(ids::编辑框生成));
  EXPECT_EQ(std::string(expected), ClipboardText());
  lw::FreeMemory(expected);
  EXPECT_EQ("已经转换您的日志链接，并复制到剪辑版，可直接粘贴！", Shown(ids::标签_提示));
}

TEST_F(ListClick, DismissingTheMenuLeavesTheClearedBoxAndTheNewId) {
  Type(ids::链接框, "http://user.qzone.qq.com/12345/mood/9ab.1");
  Click(ids::按钮_转换);
  ASSERT_NE("", Shown(ids::编辑框生成));
  ASSERT_EQ("9ab", postId());
  std::string caption = Shown(ids::标签_提示);

  MenuWatch watch = clickAt(rowCentre(0), false);
  ASSERT_TRUE(watch.seen);
  EXPECT_EQ("", Shown(ids::编辑框生成));
  EXPECT_EQ("111", postId()) << "expected the row to replace the conversion's id";
  EXPECT_EQ(caption, Shown(ids::标签_提示));
  EXPECT_EQ("12345", std::string(app::g_state.ownerNumber)) << "expected ownerNumber left alone";
}

TEST_F(ListClick, EmptySpaceStillOpensTheMenuWhichThenBuildsNothing) {
  Type(ids::编辑框QQ, "10001");
  ASSERT_TRUE(PutOnClipboard("kept"));
  MenuWatch watch = clickAt(emptySpace(), true);
  ASSERT_TRUE(watch.seen) << "expected the menu on empty space too";
  EXPECT_EQ("", postId());
  EXPECT_EQ("", Shown(ids::编辑框生成));
  EXPECT_EQ("输入有误，请检查！", Shown(ids::标签_提示));
  EXPECT_EQ("kept", ClipboardText());
}

TEST_F(ListClick, NoQqNumberBuildsNothing) {
  ASSERT_TRUE(PutOnClipboard("kept"));
  clickAt(rowCentre(0), true);
  EXPECT_EQ("111", postId());
  EXPECT_EQ("", Shown(ids::编辑框生成));
  EXPECT_EQ("输入有误，请检查！", Shown(ids::标签_提示));
  EXPECT_EQ("kept", ClipboardText());
}

}  // namespace
