// The window system as the runtime core sees it: reading the section, loading
// windows, idle turns, dialog keys and accelerators, the runtime requests that
// belong to windows, and the LoadWindow and PopupMenu commands.
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/windows/system_win.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "runtime/core/startup/requests.h"
#include "runtime/core/startup/window_system.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/runtime_error.h"
#include "runtime/ui/accessibility/dialog_keys_win.h"
#include "runtime/ui/kinds/types_win.h"
#include "runtime/ui/kinds/window_win.h"
#include "runtime/ui/properties/access_win.h"
#include "runtime/ui/scale/display_scale.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/menu_drawing_win.h"
#include "runtime/ui/windows/menus_win.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

std::vector<uint32_t> g_declinedIdle;  // windows that declined idle turns this period

bool readSection(const uint8_t* data, size_t size, uintptr_t codeBase, size_t handlerTableBytes) {
  return ReadLoadedWindows(data, size, codeBase, handlerTableBytes);
}

int loadWindow(uint32_t windowId, void* parentUnit, bool modal) {
  HWND parent = parentUnit ? HWND(static_cast<Unit*>(parentUnit)->hwnd) : nullptr;
  return LoadWindowById(windowId, parent, modal) ? 0 : -1;
}

void destroyAll() {
  DestroyAllWindows();
  ClearLoadedWindows();
}

void beginIdlePeriod() { g_declinedIdle.clear(); }

bool fireIdle(uint32_t elapsedMs) {
  bool more = false;
  for (WindowRecord& w : LoadedWindows().windows) {
    if (w.units.empty() || !LiveUnit(&w.units[0])) continue;
    if (std::find(g_declinedIdle.begin(), g_declinedIdle.end(), w.id) != g_declinedIdle.end()) continue;
    int32_t result = 0;
    uint32_t arg = elapsedMs;
    if (FireUnitEvent(w.id, w.units[0].id, window_event::Idle, &result, 1, &arg) && result != 0)
      more = true;
    else
      g_declinedIdle.push_back(w.id);
  }
  return more;
}

bool preTranslate(void* m) {
  MSG* msg = static_cast<MSG*>(m);
  if (!msg->hwnd) return false;
  HWND root = GetAncestor(msg->hwnd, GA_ROOT);
  Unit* unit = UnitFromWindow(root);
  WindowUnitState* s = WindowStateOf(unit);
  if (!s) return false;
  if (s->accelerators && TranslateAcceleratorW(root, s->accelerators, msg)) return true;
  if (PressDefaultButton(root, msg) || SendKeyboardContextRequest(msg)) return true;
  const HWND focusBefore = GetFocus();
  const bool handled = IsDialogMessageW(root, msg) != 0;
  // The platform's Tab takes the default look from every button and asks the window
  // which one is its default, a question only dialogs answer: the look is set again
  // by the runtime's own rule once the focus has moved.
  if (handled && GetFocus() != focusBefore && IsWindow(root)) ShowDefaultButtonLook(root);
  return handled;
}

uint64_t readProperty(uint32_t w, uint32_t u, int n, int e) { return ReadUnitProperty(w, u, n, e); }
void writeProperty(uint32_t w, uint32_t u, int n, int e, Word lo, Word hi) { WriteUnitProperty(w, u, n, e, lo, hi); }

intptr_t request(int code, intptr_t a1, intptr_t a2, bool* handled) {
  *handled = true;
  switch (code) {
    case runtime_request::FindUnitType: return intptr_t(FindUnitType(uint32_t(a1)));
    case runtime_request::LoadWindow: {
      auto* r = reinterpret_cast<const LoadWindowRecord*>(a1);
      return loadWindow(r->windowId, r->parentUnit, r->modal != 0);
    }
    case runtime_request::FindLiveUnit: return intptr_t(FindLiveUnit(uint32_t(a1), uint32_t(a2)));
    case runtime_request::GetLiveUnit: {
      Unit* u = FindLiveUnit(uint32_t(a1), uint32_t(a2));
      if (!u) ReportFatalError(error_text::UnitNotLoaded, 0);
      return intptr_t(u);
    }
    case runtime_request::RaiseEvent: return RaiseEvent(reinterpret_cast<EventRequest*>(a1));
    case runtime_request::SuspendEvents: SuspendEvents(); return 0;
    case runtime_request::ResumeEvents: ResumeEvents(); return 0;
    case runtime_request::RaiseTypedEvent: return RaiseTypedEvent(reinterpret_cast<TypedEventRequest*>(a1));
    default: *handled = false; return 0;
  }
}

// The live window of a loaded window, for the core's commands.
void* liveWindow(uint32_t windowId) {
  Unit* u = FindLiveUnit(windowId, 0);
  return u ? u->hwnd : nullptr;
}

// The screen is at the system's scale, the scale of no particular window.
int screenToProgramUnits(int pixels) { return PixelsToUnits(nullptr, pixels); }

const WindowSystemOps kOps = {&readSection,     &loadWindow, &AnyLiveWindow, &destroyAll,     &beginIdlePeriod,
                              &fireIdle,        &preTranslate, &readProperty, &writeProperty, &request,
                              &liveWindow,     &screenToProgramUnits};

}  // namespace

Unit* FindLiveUnit(uint32_t windowId, uint32_t unitId) {
  WindowRecord* w = FindLoadedWindow(windowId);
  if (!w) return nullptr;
  UnitRecord* r = unitId == 0 ? UnitRecordAt(*w, 0) : FindUnitRecord(*w, unitId);
  return r && !r->menuItem ? LiveUnit(r) : nullptr;
}

void InstallWindowSystem() {
  // The list view and the up-down control live in the common controls library.
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterProgramUnitTypes();
  SetWindowSystem(&kOps);
}

namespace commands {

void LoadWindow(ResultRecord* r, int argc, ArgRecord* args) {
  r->low = 0;
  if (argc < 1) return;
  HWND parent = nullptr;
  if (argc >= 2 && args[1].type != 0) {
    Unit* p = FindLiveUnit(uint32_t(args[1].low), 0);
    if (!p) return;  // a given parent that is not open: nothing is loaded
    parent = HWND(p->hwnd);
  }
  bool modal = argc >= 3 && args[2].type != 0 && args[2].low != 0;
  r->low = LoadWindowById(uint32_t(args[0].low), parent, modal) ? 1 : 0;
}

void IsWindowLoaded(ResultRecord* r, int argc, ArgRecord* args) {
  r->low = argc >= 1 && FindLiveUnit(uint32_t(args[0].low), 0) ? 1 : 0;
}

void PopupMenu(ResultRecord* r, int argc, ArgRecord* args) {
  if (argc < 2) return;
  uint32_t windowId = uint32_t(args[0].low);
  Unit* window = FindLiveUnit(windowId, 0);
  if (!window) ReportFatalError(error_text::UnitNotLoaded, 0);
  // A menu of another window, or a unit that is not a menu item, shows nothing.
  if (uint32_t(args[1].low) != windowId) return;
  WindowRecord* w = FindLoadedWindow(windowId);
  UnitRecord* item = FindUnitRecord(*w, uint32_t(args[1].high));
  if (!item || !item->menuItem) return;
  HMENU popup = BuildPopupMenu(*w, item->id);
  if (!popup) return;
  POINT pt;
  GetCursorPos(&pt);
  int x = pt.x + 3, y = pt.y + 3;
  HWND hwnd = HWND(window->hwnd);
  // A position the program gives is in 96-DPI units.
  if (argc >= 3 && args[2].type != 0) x = UnitsToPixels(hwnd, int32_t(args[2].low));
  if (argc >= 4 && args[3].type != 0) y = UnitsToPixels(hwnd, int32_t(args[3].low));
  SetForegroundWindow(hwnd);
  UINT chosen = TrackReadableMenu(popup, x, y, hwnd);
  DestroyMenu(popup);
  // The chosen item reaches the window as a command, after this command returns.
  if (chosen) PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

}  // namespace commands
}  // namespace lw
