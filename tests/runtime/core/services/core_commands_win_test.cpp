#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/core/services/core_commands_win.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/window_system.h"
#include "tests/support/message_box_win.h"

namespace lw::core {
namespace {

ArgRecord text(const char* s) { return {reinterpret_cast<Word>(s), 0, type::Text}; }
ArgRecord integer(int32_t v) { return {Word(uint32_t(v)), 0, type::Int}; }
ArgRecord omitted() { return {0, 0, type::None}; }

int32_t callInt(LibraryCommand cmd, std::vector<ArgRecord> args) {
  return int32_t(CallLibraryCommand(cmd, int(args.size()), args.data()).low);
}

// Puts a text on the clipboard with the command and has another process read it
// back. Under Wine the bridge to the X clipboard may take the clipboard over for a
// moment and empty it right after a change, so a round trip in which the reader
// found no text at all is tried again; wrong bytes are never retried.
std::string roundTrip(const char* s) {
  std::string out = testing::BesideTests("core_clipboard_out.bin");
  std::string reader = "\"" + testing::BesideTests("core_clipboard_reader.exe") + "\" " + out;
  DWORD code = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    DeleteFileA(out.c_str());
    EXPECT_EQ(callInt(&SetClipboardText, {text(s)}), 1);
    code = testing::RunProgram(reader);
    if (code != 2) break;
    Sleep(500);
  }
  EXPECT_EQ(code, 0u) << "the reader could not read plain text from the clipboard (1 busy, 2 no text)";
  std::string bytes = testing::ReadWholeFile(out);
  DeleteFileA(out.c_str());
  return bytes;
}

TEST(CoreClipboard, AnotherReaderSeesTheExactBytes) {
  const char* link = "中文链接 https://example.invalid/?a=1&b=\xA1\xA1";
  EXPECT_EQ(roundTrip(link), link);
  // The text replaces what was there before, an empty text included.
  EXPECT_EQ(roundTrip(""), "");
}

// Keeps trying while another process holds the clipboard open; notes a false.
void tryWhileHeld(void* sawFalse) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
    if (callInt(&SetClipboardText, {text("x")}) == 0) {
      *static_cast<bool*>(sawFalse) = true;
      return;
    }
    Sleep(10);
  }
}

TEST(CoreClipboard, BusyClipboardIsFalse) {
  bool sawFalse = false;
  DWORD code = testing::RunProgram("\"" + testing::BesideTests("core_clipboard_reader.exe") + "\" hold", 20000,
                                   &tryWhileHeld, &sawFalse);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(sawFalse) << "the clipboard held by another process was reported as set";
}

TEST(CoreCursor, MousePositionInScreenCoordinates) {
  ASSERT_TRUE(SetCursorPos(123, 45));
  EXPECT_EQ(callInt(&MouseX, {}), 123);
  EXPECT_EQ(callInt(&MouseY, {}), 45);
}

// The window system knows the display scale: the position comes in its units.
TEST(CoreCursor, MousePositionInTheWindowSystemsUnits) {
  WindowSystemOps ops = {};
  ops.screenToProgramUnits = [](int pixels) { return pixels * 2 / 3; };  // as at 144 DPI
  SetWindowSystem(&ops);
  ASSERT_TRUE(SetCursorPos(150, 60));
  EXPECT_EQ(callInt(&MouseX, {}), 100);
  EXPECT_EQ(callInt(&MouseY, {}), 40);
  SetWindowSystem(nullptr);
}

TEST(CoreCursor, WaitCursorUntilTheOutermostRestoreThenThePointerOfBefore) {
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT), before = LoadCursorW(nullptr, IDC_CROSS);
  SetCursor(before);
  ResultRecord r = {};
  ShowWaitCursor(&r, 0, nullptr);
  EXPECT_EQ(wait, GetCursor());
  ShowWaitCursor(&r, 0, nullptr);  // an exchange inside another
  RestoreCursor(&r, 0, nullptr);
  EXPECT_EQ(wait, GetCursor()) << "expected the wait cursor until the outer exchange ends";
  RestoreCursor(&r, 0, nullptr);
  EXPECT_EQ(before, GetCursor());
  RestoreCursor(&r, 0, nullptr);  // one too many changes nothing
  EXPECT_EQ(before, GetCursor());
}

// A plain top-level window of this thread, to watch what a box does to it.
struct TestWindow {
  HWND hwnd = CreateWindowExA(0, "STATIC", "core commands test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ~TestWindow() { DestroyWindow(hwnd); }
};

struct BoxWatch {
  const char* caption;
  int answer;
  HWND watched;
  bool watchedEnabled = true;
  testing::SeenMessageBox seen;
};

// Runs on a helper thread while the command shows its box: finds the box, notes
// whether the watched window was enabled meanwhile, then answers.
void watchBox(BoxWatch* w) {
  if (testing::WaitForWindow(w->caption, 10000)) {
    Sleep(100);
    w->watchedEnabled = IsWindowEnabled(w->watched) != FALSE;
  }
  w->seen = testing::AnswerMessageBox(w->answer, 10000, w->caption);
}

int32_t showAndAnswer(BoxWatch* w, std::vector<ArgRecord> args) {
  std::thread helper(watchBox, w);
  int32_t result = callInt(&ShowMessageBox, args);
  helper.join();
  return result;
}

TEST(CoreMessageBox, TaskModalWithDefaultCaptionAndYesGivesFive) {
  TestWindow win;
  BoxWatch w{"信息：", IDYES, win.hwnd};
  int32_t result = showAndAnswer(&w, {text("继续吗？"), integer(MB_YESNO), omitted(), omitted()});
  ASSERT_TRUE(w.seen.found);
  EXPECT_EQ(result, 5);
  EXPECT_EQ(w.seen.caption, "信息：");
  EXPECT_EQ(w.seen.text, "继续吗？");
  EXPECT_EQ(w.seen.owner, nullptr);
  EXPECT_FALSE(w.watchedEnabled) << "a task-modal box disables the thread's windows";
  EXPECT_TRUE(IsWindowEnabled(win.hwnd));
}

TEST(CoreMessageBox, SystemModalIsNotMadeTaskModal) {
  TestWindow win;
  BoxWatch w{"系统", IDCANCEL, win.hwnd};
  int32_t result = showAndAnswer(&w, {integer(42), integer(MB_OKCANCEL | MB_SYSTEMMODAL), text("系统")});
  ASSERT_TRUE(w.seen.found);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(w.seen.text, "42");
  EXPECT_TRUE(w.seen.exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(w.watchedEnabled);
}

TEST(CoreMessageBox, OwnerGivenAsWindowHandle) {
  TestWindow win;
  BoxWatch w{"有主", IDOK, win.hwnd};
  int32_t result = showAndAnswer(&w, {text("x"), integer(0), text("有主"), integer(int32_t(uintptr_t(win.hwnd)))});
  ASSERT_TRUE(w.seen.found);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(w.seen.owner, win.hwnd);
}

// A stand-in window system that knows one live window.
HWND g_window;
uint32_t g_askedWindow;
void* fakeLiveWindow(uint32_t windowId) {
  g_askedWindow = windowId;
  return windowId == 0x5201EA05 ? g_window : nullptr;
}

TEST(CoreMessageBox, OwnerGivenAsWindowUnit) {
  TestWindow win;
  g_window = win.hwnd;
  WindowSystemOps ops = {};
  ops.liveWindow = &fakeLiveWindow;
  SetWindowSystem(&ops);
  ArgRecord unit = {0x5201EA05, 0x0601EA05, type::WindowUnit};
  BoxWatch w{"窗口单元", IDOK, win.hwnd};
  showAndAnswer(&w, {text("x"), integer(0), text("窗口单元"), unit});
  EXPECT_EQ(g_askedWindow, 0x5201EA05u);
  EXPECT_EQ(w.seen.owner, win.hwnd);

  // A window that is not loaded gives no owner.
  ArgRecord other = {0x52000001, 0x06000001, type::WindowUnit};
  BoxWatch w2{"窗口单元", IDOK, win.hwnd};
  showAndAnswer(&w2, {text("x"), integer(0), text("窗口单元"), other});
  SetWindowSystem(nullptr);
  EXPECT_TRUE(w2.seen.found);
  EXPECT_EQ(w2.seen.owner, nullptr);
}

TEST(CorePlatformCommands, TableNamesTheRoutines) {
  EXPECT_EQ(FindPlatformCommand("ShowMessageBox"), &ShowMessageBox);
  EXPECT_EQ(FindPlatformCommand("SetClipboardText"), &SetClipboardText);
  EXPECT_EQ(FindPlatformCommand("TextLength"), nullptr);
}

}  // namespace
}  // namespace lw::core
