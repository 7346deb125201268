#include "runtime/ui/scale/display_scale_win.h"

#include <commctrl.h>

#include <cstring>

#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/window_win.h"
#include "runtime/ui/properties/access_win.h"
#include "runtime/ui/properties/values.h"
#include "runtime/ui/scale/display_scale.h"
#include "runtime/ui/windows/system_win.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

// The newer calls, found in user32 once; null where the system is older.
struct DpiCalls {
  UINT(WINAPI* forWindow)(HWND) = nullptr;
  UINT(WINAPI* forSystem)() = nullptr;
  BOOL(WINAPI* adjustRect)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
};

void* entry(HMODULE module, const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); }

const DpiCalls& dpiCalls() {
  static const DpiCalls calls = [] {
    DpiCalls c;
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      c.forWindow = reinterpret_cast<decltype(c.forWindow)>(entry(user, "GetDpiForWindow"));
      c.forSystem = reinterpret_cast<decltype(c.forSystem)>(entry(user, "GetDpiForSystem"));
      c.adjustRect = reinterpret_cast<decltype(c.adjustRect)>(entry(user, "AdjustWindowRectExForDpi"));
    }
    return c;
  }();
  return calls;
}

int screenDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : kBaseDpi;
}

WindowUnitState* loadedWindowState(HWND hwnd) {
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  return root ? WindowStateOf(UnitFromWindow(root)) : nullptr;
}

// The client rectangle's size of a window.
SIZE clientSize(HWND hwnd) {
  RECT r = {};
  GetClientRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// The outer rectangle around a client area at `dpi` for the window's styles.
void frameAround(HWND hwnd, int dpi, RECT* r) {
  DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE)), ex = DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE));
  BOOL menu = GetMenu(hwnd) != nullptr;
  if (dpiCalls().adjustRect)
    dpiCalls().adjustRect(r, style, menu, ex, UINT(dpi));
  else
    AdjustWindowRectEx(r, style, menu, ex);
}

// The font property of a kind, as an own-property index; -1 when it has none.
int fontPropertyOf(const UnitTypeInfo* type) {
  if (!type) return -1;
  for (uint32_t i = 0; i < type->propertyCount; ++i)
    if (OwnPropertyKind(type, int(i)) == value_kind::Font) return int(i);
  return -1;
}

// A unit's font made again: its font property read and written back, so the kind
// makes the font for the window's new scale as it does for any font change.
void remakeFont(WindowRecord* w, UnitRecord* r, Unit* u) {
  int own = fontPropertyOf(u->type);
  UnitGetProperty get = RoutinesOf(u->type).getProperty;
  UnitSetProperty set = RoutinesOf(u->type).setProperty;
  if (own < 0 || !get || !set) return;
  PropertyValue v;
  if (!get(u, own, &v)) return;
  if (set(u, own, v) == 1)
    if (Unit* live = LiveUnit(r)) RecreateUnit(w, r, live);
}

// A list's column widths, rescaled from one scale to the other through the units.
void rescaleColumns(HWND list, int fromDpi, int toDpi) {
  HWND header = HWND(SendMessageW(list, LVM_GETHEADER, 0, 0));
  int count = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int i = 0; i < count; ++i) {
    int width = int(SendMessageW(list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, WPARAM(i), MAKELPARAM(RescaleBetween(width, fromDpi, toDpi), 0));
  }
}

void placeControls(WindowRecord* w, int fromDpi, int toDpi) {
  for (size_t i = 1; i < w->units.size(); ++i) {
    UnitRecord& r = w->units[i];
    Unit* u = r.menuItem ? nullptr : LiveUnit(&r);
    if (!u) continue;
    ScaledBox b = ScaleBoxToDpi({r.left, r.top, r.width, r.height}, toDpi);
    SetWindowPos(HWND(u->hwnd), nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    remakeFont(w, &r, u);
    u = LiveUnit(&r);
    if (u && u->typeId == unit_type::ListView) rescaleColumns(HWND(u->hwnd), fromDpi, toDpi);
  }
}

}  // namespace

int SystemDpi() {
  if (dpiCalls().forSystem)
    if (UINT dpi = dpiCalls().forSystem()) return int(dpi);
  return screenDpi();
}

int PlatformWindowDpi(HWND hwnd) {
  if (hwnd && dpiCalls().forWindow)
    if (UINT dpi = dpiCalls().forWindow(hwnd)) return int(dpi);
  return SystemDpi();
}

int WindowDpi(HWND hwnd) {
  if (!hwnd) return SystemDpi();
  if (WindowUnitState* s = loadedWindowState(hwnd))
    if (s->dpi > 0) return s->dpi;
  return PlatformWindowDpi(hwnd);
}

int DefaultUnitFontDpi() {
  static const int dpi = screenDpi();
  return dpi;
}

int UnitsToPixels(HWND hwnd, int units) { return ScaleToDpi(units, WindowDpi(hwnd)); }

int PixelsToUnits(HWND hwnd, int pixels) { return ScaleFromDpi(pixels, WindowDpi(hwnd)); }

ScaledBox BoxToPixels(HWND hwnd, const ScaledBox& units) { return ScaleBoxToDpi(units, WindowDpi(hwnd)); }

ScaledBox BoxToUnits(HWND hwnd, const ScaledBox& pixels) { return ScaleBoxFromDpi(pixels, WindowDpi(hwnd)); }

int UnitPixels(uint32_t windowId, uint32_t unitId, int units) {
  Unit* unit = FindLiveUnit(windowId, unitId);
  return UnitsToPixels(unit ? HWND(unit->hwnd) : nullptr, units);
}

int DefaultFontPixelsToUnits(int pixels) { return ScaleFromDpi(pixels, DefaultUnitFontDpi()); }

void RecordWindowDpi(HWND window, int dpi) {
  if (WindowUnitState* s = loadedWindowState(window)) s->dpi = dpi;
}

HFONT MakeUnitFontForDpi(const std::vector<uint8_t>& block, int dpi) {
  if (block.size() >= sizeof(LogFontRecord)) {
    std::vector<uint8_t> scaled = block;
    int32_t height;
    memcpy(&height, scaled.data(), sizeof height);
    height = ScaleFontHeight(height, dpi);
    memcpy(scaled.data(), &height, sizeof height);
    return MakeUnitFont(scaled);
  }
  // The default font was made once, for the screen's scale at start; another
  // scale gets a copy.
  HFONT standard = MakeUnitFont(block);
  const int systemDpi = DefaultUnitFontDpi();
  if (dpi <= 0 || dpi == systemDpi) return standard;
  LOGFONTW lf;
  if (GetObjectW(standard, sizeof lf, &lf) != sizeof lf) return standard;
  lf.lfHeight = RescaleBetween(lf.lfHeight, systemDpi, dpi);
  HFONT made = CreateFontIndirectW(&lf);
  if (!made) return standard;
  DeleteUnitFont(standard);
  return made;
}

bool ScaledWindowSize(HWND window, int dpi, SIZE* size) {
  if (!window || dpi <= 0 || !size) return false;
  SIZE client = clientSize(window);
  int from = WindowDpi(window);
  RECT r = {0, 0, RescaleBetween(client.cx, from, dpi), RescaleBetween(client.cy, from, dpi)};
  frameAround(window, dpi, &r);
  size->cx = r.right - r.left;
  size->cy = r.bottom - r.top;
  return true;
}

void OnWindowDpiChanged(HWND window, int dpi, const RECT* suggested) {
  Unit* unit = UnitFromWindow(window);
  WindowUnitState* s = WindowStateOf(unit);
  WindowRecord* w = unit ? FindLoadedWindow(unit->windowId) : nullptr;
  if (!s || !w || dpi <= 0) return;
  int from = WindowDpi(window);
  RECT place;
  if (suggested) {
    place = *suggested;
  } else {
    GetWindowRect(window, &place);
    SIZE size;
    if (!ScaledWindowSize(window, dpi, &size)) return;
    place.right = place.left + size.cx;
    place.bottom = place.top + size.cy;
  }
  s->dpi = dpi;
  SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  placeControls(w, from, dpi);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace lw
