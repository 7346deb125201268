// Re-creating a unit whose property change the platform cannot apply to the
// existing control: a new control from the unit's current properties takes the old
// one's place, children, stacking position, visibility and focus.
#include <windows.h>

#include <vector>

#include "runtime/ui/events.h"
#include "runtime/ui/property_access_win.h"
#include "runtime/ui/units_win.h"
#include "runtime/ui/window_table.h"

namespace lw {
namespace {
constexpr UINT kAllUnitsExist = 0x806F;
constexpr UINT kWindowUnitsReady = 0x8004;
constexpr UINT kCreationFinished = 0x8076;
}  // namespace

void RecreateUnit(WindowRecord* window, UnitRecord* record, Unit* old) {
  const UnitTypeInfo* type = old->type;
  if (!type || (type->flags & type_flag::IsWindow)) return;
  UnitSerialise serialise = RoutinesOf(type).serialise;
  UnitCreate create = RoutinesOf(type).create;
  std::vector<uint8_t> block;
  if (!serialise || !create || !serialise(old, &block)) return;

  HWND oldHwnd = HWND(old->hwnd);
  HWND parent = GetParent(oldHwnd);
  HWND focus = GetFocus();
  bool hadFocus = focus == oldHwnd || IsChild(oldHwnd, focus);
  bool wasVisible = IsWindowVisible(oldHwnd);
  RECT r;
  GetWindowRect(oldHwnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);

  SuspendEvents();
  UnitCreateArgs a = {};
  a.parent = GetAncestor(oldHwnd, GA_ROOT);
  a.block = block.data();
  a.blockSize = block.size();
  a.style = (IsWindowEnabled(oldHwnd) ? 0 : WS_DISABLED) | ((record->state & unit_state::TabStop) ? WS_TABSTOP : 0);
  a.owner = a.parent;
  a.controlId = GetDlgCtrlID(oldHwnd);
  a.left = r.left;
  a.top = r.top;
  a.width = r.right - r.left;
  a.height = r.bottom - r.top;
  a.windowId = old->windowId;
  a.unitId = old->unitId;
  Unit* fresh = create(a);
  if (!fresh) {
    ResumeEvents();
    return;
  }
  HWND hwnd = HWND(fresh->hwnd);
  SetParent(hwnd, parent);
  if (type->flags & type_flag::MovesChildren) {
    for (HWND c = GetWindow(oldHwnd, GW_CHILD); c;) {
      HWND next = GetWindow(c, GW_HWNDNEXT);
      SetParent(c, hwnd);
      c = next;
    }
  }
  record->liveObject = fresh;
  SetWindowPos(hwnd, oldHwnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(hwnd, kAllUnitsExist, 0, 0);
  SendMessageW(hwnd, kCreationFinished, 0, 0);
  if (type->flags & type_flag::NotifiesParent) SendMessageW(parent, kWindowUnitsReady, 0, 0);
  if (wasVisible) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  old->recreating = true;
  DestroyWindow(oldHwnd);
  if (hadFocus)
    SetFocus(hwnd);
  else if (focus && IsWindow(focus))
    SetFocus(focus);
  ResumeEvents();
  (void)window;
}

}  // namespace lw
