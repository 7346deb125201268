#include "runtime/core/startup/private_messages.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/windows/loader_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/core/startup/window_system.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/accessibility/dialog_keys_win.h"
#include "runtime/ui/accessibility/tab_order.h"
#include "runtime/ui/kinds/window_win.h"
#include "runtime/ui/pictures/draw_win.h"
#include "runtime/ui/scale/display_scale.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/creation_win.h"
#include "runtime/ui/windows/cursors_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/menus_win.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

HWND hwndOf(UnitRecord& r) {
  Unit* u = LiveUnit(&r);
  return u ? HWND(u->hwnd) : nullptr;
}

}  // namespace

namespace {

void showFirstTime(WindowRecord* w, Unit* windowUnit) {
  HWND hwnd = HWND(windowUnit->hwnd);
  WindowUnitState* s = WindowStateOf(windowUnit);
  int show = SW_SHOW;
  if (s && s->props.startPosition == 2) show = SW_SHOWMINIMIZED;
  if (s && s->props.startPosition == 3 && IsResizableBorder(s->props.border))
    show = SW_SHOWMAXIMIZED;
  // Showing usually activates the window, and the unit that then takes the focus
  // raises -7 from its own focus message. Only when the focus did not move (a
  // window shown without activation) is -7 raised here, so it comes once.
  // The first showing puts the focus on the first control Tab reaches, as a dialog
  // does: the activation that showing brings gives it to the control that last had
  // it, and none has yet.
  if (s && !s->lastFocus) s->lastFocus = FirstTabStop(hwnd);
  HWND focusBefore = GetFocus();
  ShowWindow(hwnd, show);
  if (!IsWindow(hwnd) || GetFocus() != focusBefore) return;
  Unit* focus = FocusedUnitOf(hwnd);
  if (focus) FireUnitEvent(focus->windowId, focus->unitId, unit_event::FocusGained);
}

void sendToUnits(WindowRecord* w, UINT msg) {
  for (size_t i = w->units.size(); i-- > 0;)
    if (HWND h = hwndOf(w->units[i])) SendMessageW(h, msg, 0, 0);
}

// Undoes a creation that failed part way: the window and the units made so far go.
bool abandon(WindowRecord* w, HMENU bar, HACCEL accel) {
  for (size_t i = w->units.size(); i-- > 1;)
    if (HWND h = hwndOf(w->units[i])) DestroyWindow(h);
  if (HWND h = hwndOf(w->units[0])) DestroyWindow(h);
  for (UnitRecord& u : w->units)
    if (!u.menuItem) u.liveObject = nullptr;
  if (bar && IsMenu(bar)) DestroyMenu(bar);
  if (accel) DestroyAcceleratorTable(accel);
  ResumeEvents();
  return false;
}

// An open window is only brought to the front: restored when minimised, raised to
// the top of the z-order and activated. Activation alone does not raise it
// everywhere, so it would stay behind the window that was clicked last.
bool bringToFront(UnitRecord& own) {
  HWND h = hwndOf(own);
  if (!h) return false;
  if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
  SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(h);
  return true;
}

// Makes the live unit of one record with its kind's create routine. `keepEnabled`
// ignores the record's disabled flag (a window created again keeps working). The
// record's geometry, in 96-DPI units, becomes pixels at `dpi` through the display
// scale (runtime/ui/scale/display_scale_win.h), where every conversion between units and
// pixels is made.
Unit* createUnit(WindowRecord* w, UnitRecord& r, HWND parentWindow, int controlId, HMENU menu, bool keepEnabled,
                 int dpi) {
  const UnitTypeInfo* type = FindUnitType(r.typeId);
  if (!type) return nullptr;
  bool neverVisible = type->flags & type_flag::NeverVisible;
  bool disabled = (r.state & unit_state::Disabled) && !neverVisible && !keepEnabled;
  const ScaledBox box = ScaleBoxToDpi({r.left, r.top, r.width, r.height}, dpi);
  const UnitPlace place = {parentWindow, controlId, menu, disabled, box.left, box.top, box.width, box.height};
  Unit* unit = CreateUnitFromRecord(*w, r, r.properties, place);
  if (unit) r.liveObject = unit;
  return unit;
}

// The window's own unit with its menu bar; null unless it has a live window. The
// accelerators wait until the controls exist.
Unit* createWindowUnit(WindowRecord* w, HWND parent, HMENU bar, bool modal, int reuse) {
  g_creatingModalWindow = modal;
  const int systemDpi = SystemDpi();
  Unit* windowUnit = createUnit(w, w->units[0], parent, 0, bar, reuse != 0, systemDpi);
  g_creatingModalWindow = false;
  if (!windowUnit || !windowUnit->hwnd || !IsWindow(HWND(windowUnit->hwnd))) return nullptr;
  // A window that opened on a monitor of another scale takes that scale at once.
  HWND hwnd = HWND(windowUnit->hwnd);
  const int dpi = PlatformWindowDpi(hwnd);
  RecordWindowDpi(hwnd, systemDpi);
  if (dpi != systemDpi) OnWindowDpiChanged(hwnd, dpi, nullptr);
  if (WindowUnitState* s = WindowStateOf(windowUnit)) {
    s->menuBar = bar;
    s->accelerators = nullptr;
  }
  return windowUnit;
}

// The container a unit is made in: its container's live window once that exists,
// else the window itself.
HWND containerWindow(WindowRecord* w, const UnitRecord& r, HWND window) {
  if (r.parentId == 0) return window;
  UnitRecord* container = FindUnitRecord(*w, r.parentId);
  HWND p = container ? hwndOf(*container) : nullptr;
  return p ? p : window;
}

// The controls, numbered from 100 in steps of 10 from the last record to the
// first. A unit is made inside its container when the container already exists,
// so containers come first: rounds each making the units whose container is made
// (or that have none), until a round makes none; the rest (a container that is
// missing or in a loop) are made in the window, as moveIntoContainers leaves
// them. Within a round the units are made in tab order: each new control goes
// below its siblings, so they come out stacked as stackInTabOrder wants them and
// it has nothing to move.
bool createControls(WindowRecord* w, HWND hwnd) {
  const int dpi = WindowDpi(hwnd);
  std::vector<int> controlId(w->units.size(), 0);
  int nextId = 100;
  for (size_t i = w->units.size(); i-- > 1;) {
    if (w->units[i].menuItem) continue;
    controlId[i] = nextId;
    nextId += 10;
  }
  // Every unit but the window's own and the menu items, in tab order. A round
  // decides which units it makes before making any, so that the units of one
  // container are made in the same round, in order.
  std::vector<size_t> waiting = TabOrderOfUnits(*w), now, later;
  for (bool inside = true; !waiting.empty();) {
    now.clear();
    later.clear();
    for (size_t i : waiting) {
      const UnitRecord& r = w->units[i];
      bool ready = !inside || r.parentId == 0 || containerWindow(w, r, hwnd) != hwnd;
      (ready ? now : later).push_back(i);
    }
    inside = !now.empty();
    for (size_t i : now)
      if (!createUnit(w, w->units[i], containerWindow(w, w->units[i], hwnd), controlId[i], nullptr, false, dpi))
        return false;
    waiting.swap(later);
  }
  return true;
}

// A unit not yet in its container goes into it, keeping its place within it;
// never into a unit it holds itself (containers that name each other).
void moveIntoContainers(WindowRecord* w, HWND window) {
  for (size_t i = 1; i < w->units.size(); ++i) {
    UnitRecord& r = w->units[i];
    HWND h = hwndOf(r);
    if (!h || r.parentId == 0) continue;
    HWND p = containerWindow(w, r, window);
    if (p != window && GetParent(h) != p && !IsChild(h, p)) SetParent(h, p);
  }
}

// The z-order among siblings is the order Tab visits them in, since the platform's
// dialog keys follow it (see TabOrderOfUnits).
void stackInTabOrder(WindowRecord* w) {
  const std::vector<size_t> order = TabOrderOfUnits(*w);
  for (size_t k = 0; k < order.size(); ++k) {
    UnitRecord& r = w->units[order[k]];
    HWND h = hwndOf(r);
    if (!h) continue;
    HWND after = HWND_TOP;
    for (size_t j = k; j-- > 0;) {
      UnitRecord& earlier = w->units[order[j]];
      if (earlier.parentId != r.parentId) continue;
      if (HWND e = hwndOf(earlier)) {
        after = e;
        break;
      }
    }
    // Already right below the unit before it (or first): a restack would only
    // cost the platform a round of messages.
    if (GetWindow(h, GW_HWNDPREV) == (after == HWND_TOP ? nullptr : after)) continue;
    SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void makeCursors(WindowRecord* w) {
  for (UnitRecord& r : w->units) {
    if (r.menuItem) continue;
    ReleaseUnitCursor(&r.cursor);
    r.cursor = MakeUnitCursor(r.mousePointer.data(), r.mousePointer.size());
  }
}

void showControlsByFlags(WindowRecord* w) {
  for (size_t i = 1; i < w->units.size(); ++i) {
    UnitRecord& r = w->units[i];
    HWND h = hwndOf(r);
    if (!h) continue;
    const UnitTypeInfo* type = FindUnitType(r.typeId);
    bool visible = (r.state & unit_state::Visible) && !(type->flags & type_flag::NeverVisible);
    ShowWindow(h, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
}

void installAccelerators(Unit* windowUnit, HACCEL accel) {
  if (WindowUnitState* s = WindowStateOf(windowUnit)) {
    if (s->accelerators) DestroyAcceleratorTable(s->accelerators);
    s->accelerators = accel;
  }
}

// Created, moved, resized. A handler may close the window: false when it did.
bool raiseOpeningEvents(WindowRecord* w, HWND hwnd) {
  uint32_t windowId = w->id, unitId = w->units[0].id;
  for (int event : {window_event::Created, window_event::Moved, window_event::Resized}) {
    FireUnitEvent(windowId, unitId, event);
    if (!IsWindow(hwnd)) return false;
  }
  return true;
}

// A modal window disables the other loaded windows until it closes.
void disableOtherWindows(WindowRecord* w, WindowUnitState* s) {
  s->modal = true;
  s->modalRunning = true;
  for (WindowRecord& other : LoadedWindows().windows) {
    if (&other == w || other.units.empty()) continue;
    HWND o = hwndOf(other.units[0]);
    if (o && IsWindowEnabled(o)) {
      EnableWindow(o, FALSE);
      s->disabledByModal.push_back(o);
    }
  }
}

}  // namespace

bool CreateWindowFromRecord(WindowRecord* w, int reuse, bool modal, HWND parent) {
  if (!w || w->units.empty()) return false;
  if (reuse == 0 && bringToFront(w->units[0])) return true;
  // The parent must be a live window unless the window is modal.
  if (modal) parent = nullptr;
  if (parent && !IsWindow(parent)) return false;
  // No event reaches the application while the units are made.
  SuspendEvents();
  if (!FindLoadedWindow(w->id)) {
    ResumeEvents();
    return false;
  }
  HMENU bar = nullptr;
  HACCEL accel = nullptr;
  BuildMenuBar(*w, &bar, &accel);
  Unit* windowUnit = createWindowUnit(w, parent, bar, modal, reuse);
  if (!windowUnit || !createControls(w, HWND(windowUnit->hwnd))) return abandon(w, bar, accel);
  HWND hwnd = HWND(windowUnit->hwnd);
  moveIntoContainers(w, hwnd);
  stackInTabOrder(w);
  makeCursors(w);
  // Every unit learns that all units exist.
  sendToUnits(w, private_message::AllUnitsExist);
  showControlsByFlags(w);
  installAccelerators(windowUnit, accel);
  ResumeEvents();

  if (!raiseOpeningEvents(w, hwnd)) return true;
  if ((w->units[0].state & unit_state::Visible) || reuse != 0) showFirstTime(w, windowUnit);
  if (!IsWindow(hwnd)) return true;
  WindowUnitState* s = WindowStateOf(windowUnit);
  if (modal && s) disableOtherWindows(w, s);
  if (s) s->firstShowPending = true;
  return true;
}

void CompleteFirstShowing(WindowRecord* w) {
  Unit* unit = LiveUnit(&w->units[0]);
  WindowUnitState* s = WindowStateOf(unit);
  if (!s) return;
  bool first = s->firstShowPending;
  s->firstShowPending = false;
  if (first) {
    showFirstTime(w, unit);
  } else {
    ShowWindow(HWND(unit->hwnd), SW_SHOW);
  }
  if (first && s->modal && IsWindow(HWND(unit->hwnd))) RunMessageLoop(1, &s->modalRunning);
}

bool LoadWindowById(uint32_t windowId, HWND parent, bool modal) {
  WindowRecord* w = FindLoadedWindow(windowId);
  if (!w) return false;
  if (!CreateWindowFromRecord(w, 0, modal, parent)) return false;
  Unit* unit = LiveUnit(&w->units[0]);
  WindowUnitState* s = WindowStateOf(unit);
  if (!s || !(w->units[0].state & unit_state::Visible)) return true;
  if (!s->firstShowPending) return true;  // an open window was only activated
  s->firstShowPending = false;
  HWND hwnd = HWND(unit->hwnd);
  if (s->modal) {
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST))
      SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RunMessageLoop(1, &s->modalRunning);
  }
  return true;
}

void DestroyAllWindows() {
  for (WindowRecord& w : LoadedWindows().windows) {
    if (w.units.empty()) continue;
    if (HWND h = hwndOf(w.units[0])) DestroyWindow(h);
    for (UnitRecord& u : w.units)
      if (!u.menuItem) ReleaseUnitCursor(&u.cursor);
  }
}

bool AnyLiveWindow() {
  for (WindowRecord& w : LoadedWindows().windows)
    if (!w.units.empty() && hwndOf(w.units[0])) return true;
  return false;
}

}  // namespace lw
