// The core commands that touch the platform: clipboard, cursor position, message
// box and the shell.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "runtime/core/services/core_commands_win.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/startup/window_system.h"
#include "runtime/core/text/wide_text_win.h"

namespace lw::core {
namespace {

// The live window of a window id, or null. The window system knows the windows;
// without it there are none, so there is no owner either.
HWND liveWindowOf(uint32_t windowId) {
  const WindowSystemOps* ws = GetWindowSystem();
  HWND hwnd = ws && ws->liveWindow ? static_cast<HWND>(ws->liveWindow(windowId)) : nullptr;
  return hwnd && IsWindow(hwnd) ? hwnd : nullptr;
}

// A screen position as the program's 96-DPI units. The window system knows the
// display scale; without it the pixels are taken as they are.
int inProgramUnits(int pixels) {
  const WindowSystemOps* ws = GetWindowSystem();
  return ws && ws->screenToProgramUnits ? ws->screenToProgramUnits(pixels) : pixels;
}

// Opens the clipboard without an owner window. Clipboard viewers and bridges open
// it for a moment after every change, so a busy clipboard is tried again briefly
// before the command gives up.
bool openClipboardSoon() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}

// Hands `bytes` bytes to the clipboard in `format`; false when it took nothing.
bool putOnClipboard(UINT format, const void* data, size_t bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  memcpy(p, data, bytes);
  GlobalUnlock(block);
  if (SetClipboardData(format, block)) return true;  // the clipboard owns the block now
  GlobalFree(block);
  return false;
}

}  // namespace

const char kDefaultAddress[] = "about:blank";

void SetClipboardText(ResultRecord* r, int argc, ArgRecord* args) {
  r->low = 0;
  r->high = 0;
  const char* s = argc > 0 ? TextArgument(args[0]) : "";
  if (!openClipboardSoon()) return;
  EmptyClipboard();
  // The UTF-16 form pastes the same characters in every program whatever the
  // system's code page; the GBK bytes stay for programs that read plain text, and
  // the locale says which code page those bytes are in.
  const std::wstring wide = Wide(s);
  const LCID chinese = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
  bool unicode = putOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  bool plain = putOnClipboard(CF_TEXT, s, strlen(s) + 1);
  putOnClipboard(CF_LOCALE, &chinese, sizeof chinese);
  r->low = unicode && plain ? 1 : 0;
  CloseClipboard();
}

void MouseX(ResultRecord* r, int, ArgRecord*) {
  POINT pt = {0, 0};
  GetCursorPos(&pt);
  r->low = Word(uint32_t(inProgramUnits(pt.x)));
  r->high = 0;
}

void MouseY(ResultRecord* r, int, ArgRecord*) {
  POINT pt = {0, 0};
  GetCursorPos(&pt);
  r->low = Word(uint32_t(inProgramUnits(pt.y)));
  r->high = 0;
}

void ShowMessageBox(ResultRecord* r, int argc, ArgRecord* args) {
  MessageBoxRequest m = PrepareMessageBox(argc, args);
  HWND owner = nullptr;
  if (m.ownerIsUnit)
    owner = liveWindowOf(m.windowId);
  else if (m.ownerHandle)
    owner = reinterpret_cast<HWND>(m.ownerHandle);
  int button = MessageBoxW(owner, Wide(m.text).c_str(), Wide(m.caption).c_str(), m.style);
  r->low = Word(uint32_t(button > 0 ? button - 1 : 0));
  r->high = 0;
}

void OpenAddress(ResultRecord* r, int argc, ArgRecord* args) {
  r->low = 0;
  r->high = 0;
  const char* address = kDefaultAddress;
  if (argc > 0 && args[0].type != type::None) {
    address = TextArgument(args[0]);
    // An empty address names nothing to open (the shell would show the current
    // folder instead).
    if (!*address) return;
  }
  // A browser window that is already open owns whatever the shell shows about the
  // address (an error box, say), so that it comes up beside the page, not behind it.
  HWND owner = FindWindowW(nullptr, L"Microsoft Internet Explorer");
  // The shell library is bound on this first call, not with the program
  // (late_imports_i686.S).
  StartOle();  // the shell may hand the address to an extension of its own
  ShellExecuteW(owner, L"open", Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {
int g_waitDepth = 0;
HCURSOR g_cursorBeforeWait = nullptr;
}  // namespace

void ShowWaitCursor(ResultRecord* r, int, ArgRecord*) {
  *r = {};
  HCURSOR previous = SetCursor(SystemCursor(IDC_WAIT));
  if (g_waitDepth++ == 0) g_cursorBeforeWait = previous;
}

void RestoreCursor(ResultRecord* r, int, ArgRecord*) {
  *r = {};
  if (g_waitDepth == 0 || --g_waitDepth > 0) return;
  SetCursor(g_cursorBeforeWait ? g_cursorBeforeWait : SystemCursor(IDC_ARROW));
  g_cursorBeforeWait = nullptr;
}

const CommandEntry kPlatformCommands[] = {
    {"SetClipboardText", &SetClipboardText},
    {"MouseX", &MouseX},
    {"MouseY", &MouseY},
    {"ShowMessageBox", &ShowMessageBox},
    {"OpenAddress", &OpenAddress},
    {"ShowWaitCursor", &ShowWaitCursor},
    {"RestoreCursor", &RestoreCursor},
};
const size_t kPlatformCommandCount = sizeof kPlatformCommands / sizeof kPlatformCommands[0];

LibraryCommand FindPlatformCommand(const char* name) {
  for (const CommandEntry& e : kPlatformCommands)
    if (strcmp(e.name, name) == 0) return e.routine;
  return nullptr;
}

}  // namespace lw::core
