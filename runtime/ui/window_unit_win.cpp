// The window kind: class "JVWindow" unless the window names its own, its styles
// from the properties, and its events (created, moved, resized, close requested,
// destroyed, focus).
#include "runtime/ui/window_unit_win.h"

#include <string>

#include "runtime/core/guarded_procedure_win.h"
#include "runtime/ui/events.h"
#include "runtime/ui/menus_win.h"
#include "runtime/ui/units_win.h"
#include "runtime/ui/window_table.h"

namespace lw {

bool g_creatingModalWindow = false;

namespace {

const char kDefaultClass[] = "JVWindow";

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

bool registerClass(const std::string& name) {
  WNDCLASSA existing;
  HINSTANCE inst = GetModuleHandleA(nullptr);
  if (GetClassInfoA(inst, name.c_str(), &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = &Guarded<windowProc>;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = nullptr;
  wc.lpszClassName = name.c_str();
  return RegisterClassA(&wc) != 0;
}

bool resizable(int border) { return border == 1 || border == 3 || border == 5; }

void styleFor(const WindowProps& p, bool hasParent, DWORD* style, DWORD* ex) {
  *style |= WS_CLIPCHILDREN;
  *ex |= WS_EX_CONTROLPARENT;
  if (p.border == 0) {
    *style |= WS_POPUP;
  } else {
    *style |= (!p.caption.empty() || p.controlBox) ? WS_CAPTION : WS_DLGFRAME;
    if (p.controlBox) *style |= WS_SYSMENU;
    if (resizable(p.border)) *style |= WS_THICKFRAME;
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

void freeState(void* s) {
  auto* state = static_cast<WindowUnitState*>(s);
  if (state->background) DeleteObject(state->background);
  if (state->accelerators) DestroyAcceleratorTable(state->accelerators);
  delete state;
}

LRESULT notify(Unit*, UINT, WPARAM, LPARAM, bool* handled) {
  *handled = false;
  return 0;
}

Unit* create(const UnitCreateArgs& a) {
  auto* state = new WindowUnitState;
  const char* reason = nullptr;
  UnitProps props;
  if (!DecodeUnitProperties(unit_type::Window, a.block, a.blockSize, &props, &reason)) {
    delete state;
    return nullptr;
  }
  state->props = std::get<WindowProps>(props);
  state->modal = g_creatingModalWindow;
  const WindowProps& p = state->props;
  std::string cls = p.className.empty() ? kDefaultClass : p.className;
  if (!registerClass(cls)) {
    delete state;
    return nullptr;
  }
  DWORD style = a.style, ex = 0;
  HWND owner = HWND(a.owner);
  styleFor(p, owner != nullptr, &style, &ex);
  int left = a.left, top = a.top;
  if (!owner) {
    switch (p.startPosition) {
      case 1:
        left = (GetSystemMetrics(SM_CXSCREEN) - a.width) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - a.height) / 2;
        break;
      case 2: style |= WS_MINIMIZE; break;
      case 3:
        if (resizable(p.border)) style |= WS_MAXIMIZE;
        break;
      default: break;
    }
  }
  state->background = CreateSolidBrush(ConvertColour(p.backColour));
  HWND hwnd = CreateWindowExA(ex, cls.c_str(), p.caption.c_str(), style & ~WS_VISIBLE, left, top, a.width, a.height,
                              owner, HMENU(a.menu), GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) {
    freeState(state);
    return nullptr;
  }
  RECT r;
  GetWindowRect(hwnd, &r);
  if (r.right - r.left != a.width || r.bottom - r.top != a.height)
    SetWindowPos(hwnd, nullptr, 0, 0, a.width, a.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(hwnd, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  // The program's own icon (resource 1), when it has one, in the caption and task bar.
  HINSTANCE inst = GetModuleHandleA(nullptr);
  if (HICON big = LoadIconA(inst, MAKEINTRESOURCEA(1))) {
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, LPARAM(big));
    // Shared, as LoadIconA's is: loaded once for the module, never destroyed, so
    // no window leaves one behind.
    HICON small = HICON(LoadImageA(inst, MAKEINTRESOURCEA(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, LPARAM(small ? small : big));
  }
  if (p.alwaysOnTop) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  applyCloseCommand(hwnd, p);
  return AttachNewUnit(hwnd, a, unit_type::Window, state, &notify, &freeState);
}

// Re-applies the frame styles after a property change; windows are never re-created.
void restyle(Unit* u, WindowUnitState* s) {
  HWND hwnd = HWND(u->hwnd);
  DWORD keep = GetWindowLongA(hwnd, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
  DWORD style = keep, ex = GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST;
  styleFor(s->props, GetWindow(hwnd, GW_OWNER) != nullptr, &style, &ex);
  SetWindowLongA(hwnd, GWL_STYLE, LONG(style));
  SetWindowLongA(hwnd, GWL_EXSTYLE, LONG(ex));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int setProperty(Unit* u, int index, const PropertyValue& v) {
  auto* s = WindowStateOf(u);
  if (!s) return 0;
  WindowProps& p = s->props;
  HWND hwnd = HWND(u->hwnd);
  switch (index + 8) {
    case 8:
      p.caption = v.text;
      SetWindowTextA(hwnd, v.text.c_str());
      break;
    case 9: p.border = v.i > 6 ? 6 : v.i; restyle(u, s); break;
    case 10:
      p.backColour = uint32_t(v.i);
      if (s->background) DeleteObject(s->background);
      s->background = CreateSolidBrush(ConvertColour(p.backColour));
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case 11: p.backPicture = v.data; break;
    case 12: p.wordA = v.i; break;
    case 13: p.blockV = v.data; break;
    case 14: p.wordF = v.i; break;
    case 15: p.controlBox = v.i; restyle(u, s); break;
    case 16: p.maxButton = v.i; restyle(u, s); break;
    case 17: p.minButton = v.i; restyle(u, s); break;
    case 18: p.startPosition = v.i; break;
    case 19:
      p.closable = v.i;
      GetSystemMenu(hwnd, TRUE);  // back to the standard menu, then remove close again if asked
      applyCloseCommand(hwnd, p);
      break;
    case 20: p.blockU = v.data; break;
    case 21: p.wordG = v.i; break;
    case 22: p.wordH = v.i; break;
    case 23: p.wordI = v.i; break;
    case 24: p.textW = v.text; break;
    case 25: p.wordJ = v.i; break;
    case 26: p.wordK = v.i; break;
    case 27: p.wordL = v.i; break;
    case 28: p.wordM = v.i; break;
    case 29:
      p.alwaysOnTop = v.i;
      SetWindowPos(hwnd, p.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case 30: p.wordO = v.i; break;
    case 31: p.className = v.text; break;  // takes effect at the next load
    default: break;
  }
  return 0;
}

int getProperty(Unit* u, int index, PropertyValue* v) {
  auto* s = WindowStateOf(u);
  if (!s) return 0;
  const WindowProps& p = s->props;
  switch (index + 8) {
    case 8: {
      int n = GetWindowTextLengthA(HWND(u->hwnd));
      std::string t(size_t(n) + 1, '\0');
      GetWindowTextA(HWND(u->hwnd), &t[0], n + 1);
      t.resize(strlen(t.c_str()));
      v->text = t;
      return 1;
    }
    case 9: v->i = p.border; return 1;
    case 10: v->i = int32_t(p.backColour); return 1;
    case 11: v->data = p.backPicture; return 1;
    case 12: v->i = p.wordA; return 1;
    case 13: v->data = p.blockV; return 1;
    case 14: v->i = p.wordF; return 1;
    case 15: v->i = p.controlBox; return 1;
    case 16: v->i = p.maxButton; return 1;
    case 17: v->i = p.minButton; return 1;
    case 18: v->i = p.startPosition; return 1;
    case 19: v->i = p.closable; return 1;
    case 20: v->data = p.blockU; return 1;
    case 21: v->i = p.wordG; return 1;
    case 22: v->i = p.wordH; return 1;
    case 23: v->i = p.wordI; return 1;
    case 24: v->text = p.textW; return 1;
    case 25: v->i = p.wordJ; return 1;
    case 26: v->i = p.wordK; return 1;
    case 27: v->i = p.wordL; return 1;
    case 28: v->i = p.wordM; return 1;
    case 29: v->i = p.alwaysOnTop; return 1;
    case 30: v->i = p.wordO; return 1;
    case 31: v->text = p.className; return 1;
    default: return 0;
  }
}

bool serialise(Unit* u, std::vector<uint8_t>* block) {
  auto* s = WindowStateOf(u);
  return s && EncodeUnitProperties(unit_type::Window, UnitProps(s->props), block);
}

// The unit that has the focus inside a window: a control's unit, or the window.
Unit* focusedUnit(HWND window) {
  HWND f = GetFocus();
  while (f && f != window) {
    if (Unit* u = UnitFromWindow(f)) return u;
    f = GetParent(f);
  }
  return UnitFromWindow(window);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT routed = 0;
  if (RouteChildNotification(hwnd, msg, wp, lp, &routed)) return routed;
  Unit* u = UnitFromWindow(hwnd);
  WindowUnitState* s = u ? WindowStateOf(u) : nullptr;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      HBRUSH b = s && s->background ? s->background : GetSysColorBrush(COLOR_BTNFACE);
      FillRect(HDC(wp), &r, b);
      return 1;
    }
    case WM_MOVE:
      if (u) FireUnitEvent(u->windowId, u->unitId, 3);
      return 0;
    case WM_SIZE:
      if (u) FireUnitEvent(u->windowId, u->unitId, 4);
      return 0;
    case WM_CLOSE:
      if (u) {
        if (FireCancellableEvent(u->windowId, u->unitId, 12)) return 0;
        if (!IsWindow(hwnd)) return 0;
        if (FireCancellableEvent(u->windowId, u->unitId, 1)) return 0;
        if (!IsWindow(hwnd)) return 0;
        if (s) ReleaseModalDisabling(s);
      }
      DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      if (u && FireCancellableEvent(u->windowId, u->unitId, 1)) return FALSE;
      return TRUE;
    case WM_DESTROY:
      if (u) FireUnitEvent(u->windowId, u->unitId, 2);
      if (s) {
        ReleaseModalDisabling(s);
        s->modalRunning = false;
        if (HMENU bar = GetMenu(hwnd)) {
          SetMenu(hwnd, nullptr);
          DestroyMenu(bar);
        }
        s->menuBar = nullptr;
      }
      return 0;
    case WM_ACTIVATE:
      if (s) {
        if (LOWORD(wp) == WA_INACTIVE) {
          HWND f = GetFocus();
          if (f && IsChild(hwnd, f)) s->lastFocus = f;
        } else if (s->lastFocus && IsWindow(s->lastFocus) && IsChild(hwnd, s->lastFocus)) {
          SetFocus(s->lastFocus);
          return 0;
        }
      }
      break;
    case WM_SETFOCUS:
      if (u) FireUnitEvent(u->windowId, u->unitId, -7);
      return 0;
    case WM_COMMAND:
      if (lp == 0 && LOWORD(wp) >= kFirstMenuCommand && u) {
        DeliverMenuCommand(u->windowId, LOWORD(wp));
        return 0;
      }
      break;
    default: break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

WindowUnitState* WindowStateOf(Unit* unit) {
  return unit && unit->typeId == unit_type::Window ? static_cast<WindowUnitState*>(unit->state) : nullptr;
}

void ReleaseModalDisabling(WindowUnitState* state) {
  for (HWND h : state->disabledByModal)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  state->disabledByModal.clear();
}

Unit* FocusedUnitOf(HWND window) { return focusedUnit(window); }

const UnitKindRoutines kWindowRoutines = {unit_type::Window, &create, &setProperty, &getProperty, &serialise};

}  // namespace lw
