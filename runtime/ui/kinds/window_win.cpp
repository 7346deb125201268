// The window kind: class "JVWindow" unless the window names its own, its styles
// from the properties, and its events (created, moved, resized, close requested,
// destroyed, focus).
#include "runtime/ui/kinds/window_win.h"

#include <windowsx.h>

#include <string>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/accessibility/dialog_keys_win.h"
#include "runtime/ui/kinds/colours_win.h"
#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/picture_box_win.h"
#include "runtime/ui/kinds/skeleton_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/menu_drawing_win.h"
#include "runtime/ui/windows/menus_win.h"
#include "runtime/ui/windows/table.h"

namespace lw {

bool g_creatingModalWindow = false;

namespace {

const char kDefaultClass[] = "JVWindow";

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

bool registerClass(const std::string& name) {
  WNDCLASSW existing;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  const std::wstring className = Wide(name);
  if (GetClassInfoW(inst, className.c_str(), &existing)) return true;
  WNDCLASSW wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = &Guarded<windowProc>;
  wc.hInstance = inst;
  wc.hCursor = SystemCursor(IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = className.c_str();
  return RegisterClassW(&wc) != 0;
}

void styleFor(const WindowProps& p, bool hasParent, DWORD* style, DWORD* ex) {
  *style |= WS_CLIPCHILDREN;
  *ex |= WS_EX_CONTROLPARENT;
  if (p.border == 0) {
    *style |= WS_POPUP;
  } else {
    *style |= (!p.caption.empty() || p.controlBox) ? WS_CAPTION : WS_DLGFRAME;
    if (p.controlBox) *style |= WS_SYSMENU;
    if (IsResizableBorder(p.border)) *style |= WS_THICKFRAME;
    if (p.border == 3 || p.border == 4) *ex |= WS_EX_TOOLWINDOW;
    if (p.border == 5 || p.border == 6) *ex |= WS_EX_CLIENTEDGE;
    if (hasParent) *style |= WS_POPUP;
  }
  if (p.maxButton) *style |= WS_MAXIMIZEBOX;
  if (p.minButton) *style |= WS_MINIMIZEBOX;
}

void applyCloseCommand(HWND hwnd, const WindowProps& p) {
  if (!p.closable) DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND);
}

void release(WindowUnitState* s) {
  if (s->background) DeleteObject(s->background);
  if (s->accelerators) DestroyAcceleratorTable(s->accelerators);
}

// Where a top-level window first stands: centred on the screen, or minimised or
// maximised by its style.
void applyStartPosition(const WindowProps& p, const UnitCreateArgs& a, DWORD* style, int* left, int* top) {
  switch (p.startPosition) {
    case 1:
      *left = (GetSystemMetrics(SM_CXSCREEN) - a.width) / 2;
      *top = (GetSystemMetrics(SM_CYSCREEN) - a.height) / 2;
      break;
    case 2: *style |= WS_MINIMIZE; break;
    case 3:
      if (IsResizableBorder(p.border)) *style |= WS_MAXIMIZE;
      break;
    default: break;
  }
}

// The program's own icon (resource 1), when it has one, in the caption and task bar.
void setProgramIcon(HWND hwnd) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  HICON big = LoadIconW(inst, MAKEINTRESOURCEW(1));
  if (!big) return;
  SendMessageW(hwnd, WM_SETICON, ICON_BIG, LPARAM(big));
  // Shared, as LoadIconW's is: loaded once for the module, never destroyed, so
  // no window leaves one behind.
  HICON small = HICON(LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL, LPARAM(small ? small : big));
}

HWND makeWindow(const UnitCreateArgs& a, WindowUnitState* state) {
  state->modal = g_creatingModalWindow;
  const WindowProps& p = state->props;
  std::string cls = p.className.empty() ? kDefaultClass : p.className;
  if (!registerClass(cls)) return nullptr;
  DWORD style = a.style, ex = 0;
  HWND owner = HWND(a.owner);
  styleFor(p, owner != nullptr, &style, &ex);
  int left = a.left, top = a.top;
  if (!owner) applyStartPosition(p, a, &style, &left, &top);
  ReplaceBrush(&state->background, p.backColour);
  HWND hwnd = CreateWindowExW(ex, Wide(cls).c_str(), Wide(p.caption).c_str(), style & ~WS_VISIBLE, left, top, a.width,
                              a.height, owner, HMENU(a.menu), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  RECT r;
  GetWindowRect(hwnd, &r);
  if (r.right - r.left != a.width || r.bottom - r.top != a.height)
    SetWindowPos(hwnd, nullptr, 0, 0, a.width, a.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd, WM_SETFONT, WPARAM(DefaultUnitFont()), FALSE);
  setProgramIcon(hwnd);
  if (p.alwaysOnTop) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  applyCloseCommand(hwnd, p);
  return hwnd;
}

// Re-applies the frame styles after a property change; windows are never re-created.
void restyle(HWND hwnd, WindowUnitState* s) {
  DWORD keep = GetWindowLongW(hwnd, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
  DWORD style = keep, ex = GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST;
  styleFor(s->props, GetWindow(hwnd, GW_OWNER) != nullptr, &style, &ex);
  SetWindowLongW(hwnd, GWL_STYLE, LONG(style));
  SetWindowLongW(hwnd, GWL_EXSTYLE, LONG(ex));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Every window property is stored by its row; what a change does beyond that is
// here. Windows are never re-created.
int show(HWND hwnd, WindowUnitState* s, int number, bool) {
  const WindowProps& p = s->props;
  switch (number) {
    case window_prop::Caption: SetWindowTextGbk(hwnd, p.caption); break;
    case window_prop::Border: case window_prop::ControlBox: case window_prop::MaxButton:
    case window_prop::MinButton:
      restyle(hwnd, s);
      break;
    case window_prop::BackColour:
      ReplaceBrush(&s->background, p.backColour);
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case window_prop::Closable:
      GetSystemMenu(hwnd, TRUE);  // back to the standard menu, then remove close again if asked
      applyCloseCommand(hwnd, p);
      break;
    case window_prop::AlwaysOnTop:
      SetWindowPos(hwnd, p.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    default: break;  // stored only; the class name takes effect at the next load
  }
  return 0;
}

// The caption is read back from the window, up to its first 0 byte.
int readLive(HWND hwnd, WindowUnitState*, int number, PropertyValue* v) {
  std::string t = Gbk(WideWindowText(hwnd));
  t.resize(strlen(t.c_str()));
  v->text = t;
  return 1;
}

constexpr UnitKindParts<WindowUnitState> kParts = {
    unit_type::Window, &kWindowTable, &makeWindow, nullptr, nullptr, &release, nullptr, &show, &readLive, nullptr,
};

// The unit that has the focus inside a window: a control's unit, or the window.
Unit* focusedUnit(HWND window) {
  HWND f = GetFocus();
  while (f && f != window) {
    if (Unit* u = UnitFromWindow(f)) return u;
    f = GetParent(f);
  }
  return UnitFromWindow(window);
}

// ---- The window's messages, one routine each ----

void fireEvent(Unit* u, int32_t event) {
  if (u) FireUnitEvent(u->windowId, u->unitId, event);
}

// The window's own background colour, or the button face.
LRESULT onEraseBackground(HWND hwnd, HDC dc, const WindowUnitState* s) {
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(dc, &r, UnitBrush(ColourRole::Face, s && s->background ? s->background : GetSysColorBrush(COLOR_BTNFACE)));
  return 1;
}

// The system's colours or its contrast switch changed: the window's own brush is
// made again (its default is the system's face), then the scheme is read again and
// every control told.
void onContrastChange(HWND hwnd, WindowUnitState* s) {
  if (s) {
    ReplaceBrush(&s->background, s->props.backColour);
  }
  FollowContrastScheme(hwnd, ReadContrastScheme());
}

// The handlers are asked first, the window's own question before the general one;
// either may keep the window open, or close it themselves while they run.
void onClose(HWND hwnd, Unit* u, WindowUnitState* s) {
  if (u) {
    if (FireCancellableEvent(u->windowId, u->unitId, window_event::QueryWindowClose)) return;
    if (!IsWindow(hwnd)) return;
    if (FireCancellableEvent(u->windowId, u->unitId, window_event::QueryClose)) return;
    if (!IsWindow(hwnd)) return;
    if (s) ReleaseModalDisabling(s);
  }
  DestroyWindow(hwnd);
}

LRESULT onQueryEndSession(Unit* u) {
  return u && FireCancellableEvent(u->windowId, u->unitId, window_event::QueryClose) ? FALSE : TRUE;
}

// The windows a modal run disabled come back, and the menu bar goes with the window.
void onDestroy(HWND hwnd, Unit* u, WindowUnitState* s) {
  fireEvent(u, window_event::Destroying);
  if (!s) return;
  ReleaseModalDisabling(s);
  s->modalRunning = false;
  if (HMENU bar = GetMenu(hwnd)) {
    SetMenu(hwnd, nullptr);
    DestroyMenu(bar);
  }
  s->menuBar = nullptr;
}

// Keeps the control that had the focus when the window was left, and gives it the
// focus back on return. True when it did.
bool onActivate(HWND hwnd, WPARAM wp, WindowUnitState* s) {
  if (!s) return false;
  if (LOWORD(wp) == WA_INACTIVE) {
    HWND f = GetFocus();
    if (f && IsChild(hwnd, f)) s->lastFocus = f;
    return false;
  }
  if (!s->lastFocus || !IsWindow(s->lastFocus) || !IsChild(hwnd, s->lastFocus)) return false;
  SetFocus(s->lastFocus);
  return true;
}

LRESULT onDpiChanged(HWND hwnd, WPARAM wp, LPARAM lp) {
  OnWindowDpiChanged(hwnd, HIWORD(wp), reinterpret_cast<const RECT*>(lp));
  return 0;
}

// A menu item chosen; true when it was one of the window's items.
bool onMenuCommand(Unit* u, WPARAM wp, LPARAM lp) {
  if (lp != 0 || LOWORD(wp) < kFirstMenuCommand || !u) return false;
  DeliverMenuCommand(u->windowId, LOWORD(wp));
  return true;
}

// ---- Keys that reach the window itself ----

// Esc, which the dialog keys turn into the cancel command. A window that only shows
// something (no control takes the keyboard) and has a close box closes, as a click
// on the close box would; a window with boxes and buttons to use stays, so that a
// stray Esc never closes a window where the user has work.
bool onCancelKey(HWND hwnd, WPARAM wp, LPARAM lp, const WindowUnitState* s) {
  if (LOWORD(wp) != IDCANCEL || HIWORD(wp) != 0 || lp != 0 || !s) return false;
  if (!s->props.controlBox || !s->props.closable || FirstTabStop(hwnd)) return false;
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

// Ctrl+C while the window itself has the focus copies the picture it shows.
bool onKeyDown(HWND hwnd, WPARAM key) {
  const bool onlyControl = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0;
  if (key != 'C' || !onlyControl || GetFocus() != hwnd) return false;
  HWND box = ShownPictureBoxOf(hwnd);
  if (box) SendMessageW(box, WM_COPY, 0, 0);
  return box != nullptr;
}

// The context-menu key (or Shift+F10) while the window itself has the focus opens
// the menu of the picture it shows, as a right-click on the picture does.
bool onContextMenu(HWND hwnd, WPARAM from, LPARAM at) {
  if (HWND(from) != hwnd || GET_X_LPARAM(at) != -1 || GET_Y_LPARAM(at) != -1) return false;
  HWND box = ShownPictureBoxOf(hwnd);
  if (box) SendMessageW(box, WM_CONTEXTMENU, WPARAM(box), at);
  return box != nullptr;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT routed = 0;
  if (RouteChildNotification(hwnd, msg, wp, lp, &routed)) return routed;
  Unit* u = UnitFromWindow(hwnd);
  WindowUnitState* s = u ? WindowStateOf(u) : nullptr;
  switch (msg) {
    case WM_ERASEBKGND: return onEraseBackground(hwnd, HDC(wp), s);
    case WM_SYSCOLORCHANGE: case WM_THEMECHANGED: case WM_SETTINGCHANGE:
      if (IsContrastChange(msg, wp)) onContrastChange(hwnd, s);
      break;
    case WM_MOVE: fireEvent(u, window_event::Moved); return 0;
    case WM_SIZE: fireEvent(u, window_event::Resized); return 0;
    case WM_CLOSE: onClose(hwnd, u, s); return 0;
    case WM_QUERYENDSESSION: return onQueryEndSession(u);
    case WM_DESTROY: onDestroy(hwnd, u, s); return 0;
    case WM_ACTIVATE:
      if (onActivate(hwnd, wp, s)) return 0;
      break;
    case WM_SETFOCUS: fireEvent(u, unit_event::FocusGained); return 0;
    case WM_NOTIFYFORMAT:  // controls notify this window in their UTF-16 form
      if (lp == NF_QUERY) return NFR_UNICODE;
      break;
    case kMessageDpiChanged:
      if (s) return onDpiChanged(hwnd, wp, lp);
      break;
    case kMessageGetDpiScaledSize:
      if (s) return ScaledWindowSize(hwnd, int(wp), reinterpret_cast<SIZE*>(lp)) ? TRUE : FALSE;
      break;
    case WM_COMMAND:
      if (onMenuCommand(u, wp, lp) || onCancelKey(hwnd, wp, lp, s)) return 0;
      break;
    case WM_KEYDOWN:
      if (onKeyDown(hwnd, wp)) return 0;
      break;
    case WM_CONTEXTMENU:
      if (onContextMenu(hwnd, wp, lp)) return 0;
      break;
    case WM_MEASUREITEM: case WM_DRAWITEM:  // pop-up menu items the runtime draws itself
      if (AnswerOwnDrawnMenuItem(msg, lp, &routed)) return routed;
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

bool IsResizableBorder(int border) { return border == 1 || border == 3 || border == 5; }

WindowUnitState* WindowStateOf(Unit* unit) { return KindStateOf<WindowUnitState>(unit, unit_type::Window); }

void ReleaseModalDisabling(WindowUnitState* state) {
  for (HWND h : state->disabledByModal)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  state->disabledByModal.clear();
}

Unit* FocusedUnitOf(HWND window) { return focusedUnit(window); }

extern const UnitKindRoutines kWindowRoutines = KindRoutines<WindowUnitState, kParts>();

}  // namespace lw
