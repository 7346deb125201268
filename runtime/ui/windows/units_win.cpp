#include "runtime/ui/windows/units_win.h"

#include <cstddef>
#include <cstring>
#include <unordered_map>

#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/startup/window_system.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/ui/accessibility/accessible_name_win.h"
#include "runtime/ui/windows/cursors_win.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/table.h"

namespace lw {
namespace {


// What a window carries besides its unit: the kind's notify routine and how its
// state is freed.
struct UnitHolder {
  Unit unit;
  UnitNotify notify;
  void (*freeState)(void*);
  WNDPROC previous;
};

// The holders by window. Every message to a unit's window and every notification a
// container passes on looks its unit up, so the lookup must not cost a call into
// the window system (a window property does under Wine: about 10 µs, which made a
// list of 3,000 rows take over a second). Windows live on the one GUI thread.
std::unordered_map<HWND, UnitHolder*>& holders() {
  static std::unordered_map<HWND, UnitHolder*> map;
  return map;
}

UnitHolder* holderOf(HWND hwnd) {
  auto& map = holders();
  auto it = map.find(hwnd);
  return it == map.end() ? nullptr : it->second;
}

// Runs in front of every unit's own window procedure: the unit's cursor, its
// object for assistive technology, and the end of the unit with its window.
LRESULT CALLBACK unitFrontProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  UnitHolder* holder = holderOf(hwnd);
  WNDPROC previous = holder ? holder->previous : DefWindowProcW;
  if (!holder) return CallWindowProcW(previous, hwnd, msg, wp, lp);
  if (msg == WM_SETCURSOR && HWND(wp) == hwnd && LOWORD(lp) == HTCLIENT) {
    UnitRecord* rec = RecordOfUnit(&holder->unit);
    if (rec && rec->cursor) {
      SetCursor(HCURSOR(rec->cursor));
      return TRUE;
    }
  }
  LRESULT answer = 0;
  if (msg == WM_GETOBJECT && AnswerAccessibleObject(&holder->unit, wp, lp, &answer)) return answer;
  if (msg != WM_NCDESTROY) return CallWindowProcW(previous, hwnd, msg, wp, lp);
  LRESULT r = CallWindowProcW(previous, hwnd, msg, wp, lp);
  // The record's slot no longer names this unit once its window is gone.
  bool wasWindow = holder->unit.typeId == unit_type::Window;
  bool cleared = false;
  // Its cursor goes with it, when the runtime made one from cursor data.
  if (UnitRecord* rec = RecordOfUnit(&holder->unit))
    if (rec->liveObject == &holder->unit) {
      rec->liveObject = nullptr;
      if (!rec->menuItem) ReleaseUnitCursor(&rec->cursor);
      cleared = true;
    }
  holders().erase(hwnd);
  if (!holder->unit.recreating) ForgetAccessibleName(&holder->unit);
  if (holder->freeState) holder->freeState(holder->unit.state);
  delete holder;
  // A loaded window went away: the loop ends when it was the last one.
  if (wasWindow && cleared) OnLoadedWindowDestroyed();
  return r;
}

}  // namespace

Unit* AttachNewUnit(HWND hwnd, const UnitCreateArgs& args, uint32_t typeId, void* state, UnitNotify notify,
                    void (*freeState)(void*)) {
  auto* holder = new UnitHolder{};
  holder->unit.hwnd = hwnd;
  holder->unit.windowId = args.windowId;
  holder->unit.unitId = args.unitId;
  holder->unit.typeId = typeId;
  holder->unit.type = FindUnitType(typeId);
  holder->unit.state = state;
  holder->notify = notify;
  holder->freeState = freeState;
  holders()[hwnd] = holder;
  // Chained in front of the kind's own procedure, so it sees WM_NCDESTROY last.
  holder->previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, LONG_PTR(&Guarded<unitFrontProc>)));
  return &holder->unit;
}

Unit* UnitFromWindow(HWND hwnd) {
  UnitHolder* holder = hwnd ? holderOf(hwnd) : nullptr;
  return holder ? &holder->unit : nullptr;
}

UnitNotify NotifyRoutineOf(Unit* unit) {
  if (!unit || !unit->hwnd) return nullptr;
  UnitHolder* holder = holderOf(HWND(unit->hwnd));
  return holder ? holder->notify : nullptr;
}

bool RouteChildNotification(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND: child = HWND(lp); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(lp)->hwndFrom; break;
    case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLORLISTBOX:
      child = HWND(lp);
      break;
    case WM_DRAWITEM:  // a menu's items are the menu owner's to draw, not a control's
      if (reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlType == ODT_MENU) return false;
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_VSCROLL: case WM_HSCROLL: child = HWND(lp); break;
    default: return false;
  }
  if (!child || child == hwnd) return false;
  Unit* unit = UnitFromWindow(child);
  // An up-down buddy belongs to the edit box it serves.
  if (!unit && GetParent(child) == hwnd) unit = UnitFromWindow(HWND(GetPropW(child, kBuddyOfProp)));
  UnitNotify notify = NotifyRoutineOf(unit);
  if (!notify) return false;
  bool handled = false;
  LRESULT r = notify(unit, msg, wp, lp, &handled);
  if (handled) *result = r;
  return handled;
}

UnitRecord* RecordOfUnit(const Unit* unit, WindowRecord** window) {
  if (!unit) return nullptr;
  WindowRecord* w = FindLoadedWindow(unit->windowId);
  if (window) *window = w;
  return w ? FindUnitRecord(*w, unit->unitId) : nullptr;
}

Unit* LiveUnit(UnitRecord* record) {
  if (!record || !record->liveObject) return nullptr;
  auto* unit = static_cast<Unit*>(record->liveObject);
  return unit->hwnd && IsWindow(HWND(unit->hwnd)) ? unit : nullptr;
}

}  // namespace lw
