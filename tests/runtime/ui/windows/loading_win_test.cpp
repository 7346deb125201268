// Loading windows from synthetic templates: creation, activation of an open window,
// modal loading, event suspension during creation, menus and property access.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/window_system.h"
#include "runtime/ui/properties/access_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/system_win.h"
#include "runtime/ui/windows/table.h"
#include "tests/support/fatal_trap.h"
#include "tests/support/template_builder.h"

namespace lw {
namespace {

using testing::Bind;
using testing::MakeMenuItem;
using testing::MakeWindow;

constexpr uint32_t kQuiet = 0x52000030, kQuietOwn = 0x06000031;
constexpr uint32_t kMain = 0x52000010, kMainOwn = 0x06000011, kMenuTop = 0x26000012, kMenuItem = 0x26000013,
                   kDialog = 0x52000020, kDialogOwn = 0x06000021;

int g_created, g_moved, g_resized, g_menuChosen, g_dialogCreated, g_focused;
bool g_mainEnabledWhileModal = true;

HandlerResult onCreated(int, const uint32_t*) { return ++g_created, HandlerResult{0, 0}; }
HandlerResult onMoved(int, const uint32_t*) { return ++g_moved, HandlerResult{0, 0}; }
HandlerResult onResized(int, const uint32_t*) { return ++g_resized, HandlerResult{0, 0}; }
HandlerResult onMenu(int, const uint32_t*) { return ++g_menuChosen, HandlerResult{0, 0}; }
HandlerResult onFocus(int, const uint32_t*) { return ++g_focused, HandlerResult{0, 0}; }
// Looks at the other window while the modal one is open, then closes the modal one.
void CALLBACK inspectAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_mainEnabledWhileModal = IsWindowEnabled(FindWindowA(nullptr, "main window")) != 0;
  PostMessageA(FindWindowA(nullptr, "modal dialog"), WM_CLOSE, 0, 0);
}
HandlerResult onDialogCreated(int, const uint32_t*) {
  ++g_dialogCreated;
  SetTimer(nullptr, 0, 100, &inspectAndClose);
  return {0, 0};
}

// Picks the first entry of a pop-up menu once it shows.
DWORD WINAPI pickFirstMenuEntry(LPVOID) {
  for (int i = 0; i < 200; ++i) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
      PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
      return 1;
    }
    Sleep(20);
  }
  return 0;
}
const EventHandler kHandlers[] = {&onCreated, &onMoved, &onResized, &onMenu, &onDialogCreated, &onFocus};

struct WindowLoading : ::testing::Test {
  void SetUp() override {
    InstallWindowSystem();
    g_created = g_moved = g_resized = g_menuChosen = g_dialogCreated = g_focused = 0;
    WindowRecord main =
        MakeWindow(kMain, kMainOwn, "main window",
                   {Bind(window_event::Created, 0), Bind(window_event::Moved, 1), Bind(window_event::Resized, 2),
                    Bind(unit_event::FocusGained, 5)});
    main.units.push_back(MakeMenuItem(kMenuTop, 0, menu_state::Hidden, "hidden entry", -1));
    main.units.push_back(MakeMenuItem(kMenuItem, 1, 0, "the item", 3));
    WindowRecord dialog = MakeWindow(kDialog, kDialogOwn, "modal dialog", {Bind(window_event::Created, 4)});
    // Created hidden, so showing it adds no move or size of its own.
    WindowRecord quiet = MakeWindow(
        kQuiet, kQuietOwn, "quiet window",
        {Bind(window_event::Created, 0), Bind(window_event::Moved, 1), Bind(window_event::Resized, 2)}, 0);
    section = testing::WriteSection({main, dialog, quiet});
    ASSERT_TRUE(ReadLoadedWindows(section.data(), section.size(), uintptr_t(kHandlers), sizeof kHandlers));
  }
  void TearDown() override {
    DestroyAllWindows();
    ClearLoadedWindows();
  }
  std::vector<uint8_t> section;
};

void pump() {
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

TEST_F(WindowLoading, CreationRaisesCreatedMovedResizedOnceEachAndNothingDuringCreation) {
  ASSERT_TRUE(LoadWindowById(kQuiet, nullptr, false));
  HWND h = FindWindowA(nullptr, "quiet window");
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(IsWindowVisible(h));
  // The platform moves and sizes the window while creating it: those reach no handler.
  EXPECT_EQ(g_created, 1);
  EXPECT_EQ(g_moved, 1);
  EXPECT_EQ(g_resized, 1);
}

TEST_F(WindowLoading, AVisibleWindowIsShownWithoutAMenuBarForAHiddenEntry) {
  ASSERT_TRUE(LoadWindowById(kMain, nullptr, false));
  HWND h = FindWindowA(nullptr, "main window");
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(GetMenu(h), nullptr) << "a hidden level-0 entry puts nothing on a menu bar";
}

TEST_F(WindowLoading, LoadingAnOpenWindowOnlyActivatesIt) {
  ASSERT_TRUE(LoadWindowById(kMain, nullptr, false));
  pump();
  EXPECT_EQ(g_focused, 1) << "expected one focus event for showing and activating";
  HWND first = FindWindowA(nullptr, "main window");
  // Another window activated over it; loading it again activates it once more.
  HWND other = CreateWindowExA(0, "STATIC", "other window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  pump();
  ASSERT_TRUE(LoadWindowById(kMain, nullptr, false));
  pump();
  EXPECT_EQ(FindWindowA(nullptr, "main window"), first);
  EXPECT_EQ(g_created, 1);
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(g_focused, 2) << "expected one focus event for the second activation";
  DestroyWindow(other);
}

TEST_F(WindowLoading, AModalWindowDisablesTheOthersUntilItCloses) {
  ASSERT_TRUE(LoadWindowById(kMain, nullptr, false));
  HWND main = FindWindowA(nullptr, "main window");
  ASSERT_TRUE(LoadWindowById(kDialog, main, true));  // returns once the dialog closed
  EXPECT_EQ(g_dialogCreated, 1);
  EXPECT_FALSE(g_mainEnabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(FindWindowA(nullptr, "modal dialog"), nullptr);
}

TEST_F(WindowLoading, UnknownWindowAndDeadParentFail) {
  EXPECT_FALSE(LoadWindowById(0x52FFFFFF, nullptr, false));
  HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_FALSE(LoadWindowById(kMain, gone, false));
}

TEST_F(WindowLoading, AnEmptySectionLoadsNothing) {
  ASSERT_TRUE(ReadLoadedWindows(nullptr, 0, uintptr_t(kHandlers), sizeof kHandlers));
  EXPECT_TRUE(LoadedWindows().windows.empty());
  EXPECT_FALSE(LoadWindowById(kMain, nullptr, false));
}

TEST_F(WindowLoading, APropertyBlockOfTooHighAVersionFailsTheLoad) {
  WindowRecord w = MakeWindow(kMain, kMainOwn, "too new");
  w.units[0].properties = {7, 0, 0, 0};  // window blocks go up to version 6
  section = testing::WriteSection({w});
  ASSERT_TRUE(ReadLoadedWindows(section.data(), section.size(), uintptr_t(kHandlers), sizeof kHandlers));
  EXPECT_FALSE(LoadWindowById(kMain, nullptr, false));
  EXPECT_EQ(FindWindowA(nullptr, "too new"), nullptr);
  EXPECT_EQ(EventSuspension(), 0) << "a failed load resumes events";
}

TEST_F(WindowLoading, AHiddenMenuEntryPopsUpAndItsItemReachesTheHandler) {
  ASSERT_TRUE(LoadWindowById(kMain, nullptr, false));
  HANDLE picker = CreateThread(nullptr, 0, &pickFirstMenuEntry, nullptr, 0, nullptr);
  ArgRecord args[4] = {{kMain, kMainOwn, type::WindowUnit}, {kMain, kMenuTop, type::MenuUnit}, {50, 0, type::Int},
                       {60, 0, type::Int}};
  ResultRecord r = CallLibraryCommand(&commands::PopupMenu, 4, args);
  (void)r;
  WaitForSingleObject(picker, 5000);
  DWORD found = 0;
  GetExitCodeThread(picker, &found);
  CloseHandle(picker);
  EXPECT_EQ(found, 1u) << "the pop-up menu was shown";
  EXPECT_EQ(g_menuChosen, 0) << "the item arrives after the command returned";
  pump();
  EXPECT_EQ(g_menuChosen, 1);
}

TEST_F(WindowLoading, GeometryWritesAreClampedIntoTheRecordAndTheWindow) {
  WriteUnitProperty(kMain, kMainOwn, unit_prop::Left, -1, 40000, 0);
  WriteUnitProperty(kMain, kMainOwn, unit_prop::Width, -1, Word(-5), 0);
  EXPECT_EQ(int32_t(ReadUnitProperty(kMain, kMainOwn, unit_prop::Left, -1)), 32627);
  EXPECT_EQ(int32_t(ReadUnitProperty(kMain, kMainOwn, unit_prop::Width, -1)), 0);
  ASSERT_TRUE(LoadWindowById(kMain, nullptr, false));
  WriteUnitProperty(kMain, kMainOwn, unit_prop::Height, -1, 150, 0);
  RECT r;
  GetWindowRect(FindWindowA(nullptr, "main window"), &r);
  EXPECT_EQ(r.bottom - r.top, 150);
}

TEST_F(WindowLoading, OwnPropertiesOfAClosedWindowAreARunTimeError) {
  ASSERT_TRUE(LoadWindowById(kMain, nullptr, false));
  char* caption = reinterpret_cast<char*>(uintptr_t(ReadUnitProperty(kMain, kMainOwn, window_prop::Caption, -1)));
  EXPECT_STREQ(caption, "main window");
  DestroyWindow(FindWindowA(nullptr, "main window"));
  testing::FatalTrap trap;
  try {
    ReadUnitProperty(kMain, kMainOwn, window_prop::Caption, -1);
    ADD_FAILURE() << "expected a run-time error";
  } catch (const testing::FatalError& e) {
    EXPECT_STREQ(e.what(), "指定窗口尚未载入");
  }
  // Common properties still answer from the record.
  EXPECT_EQ(int32_t(ReadUnitProperty(kMain, kMainOwn, unit_prop::Width, -1)), 300);
}

TEST_F(WindowLoading, MenuItemPropertiesLiveInTheRecord) {
  char* caption = reinterpret_cast<char*>(uintptr_t(ReadUnitProperty(kMain, kMenuItem, menu_item_prop::Caption, -1)));
  EXPECT_STREQ(caption, "the item");
  EXPECT_EQ(ReadUnitProperty(kMain, kMenuTop, menu_item_prop::Visible, -1), 0u) << "hidden";
  WriteUnitProperty(kMain, kMenuItem, menu_item_prop::Checked, -1, 1, 0);
  EXPECT_EQ(ReadUnitProperty(kMain, kMenuItem, menu_item_prop::Checked, -1), 1u);
}

}  // namespace
}  // namespace lw
