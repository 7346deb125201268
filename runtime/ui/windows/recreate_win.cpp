// Re-creating a unit whose property change the platform cannot apply to the
// existing control: a new control from the unit's current properties takes the old
// one's place, children, stacking position, visibility and focus.
#include <windows.h>

#include <vector>

#include "runtime/core/startup/private_messages.h"
#include "runtime/ui/properties/access_win.h"
#include "runtime/ui/windows/creation_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {

void RecreateUnit(WindowRecord* window, UnitRecord* record, Unit* old) {
  const UnitTypeInfo* type = old->type;
  if (!type || (type->flags & type_flag::IsWindow)) return;
  UnitSerialise serialise = RoutinesOf(type).serialise;
  std::vector<uint8_t> block;
  if (!serialise || !RoutinesOf(type).create || !serialise(old, &block)) return;

  HWND oldHwnd = HWND(old->hwnd);
  HWND parent = GetParent(oldHwnd);
  HWND focus = GetFocus();
  bool hadFocus = focus == oldHwnd || IsChild(oldHwnd, focus);
  bool wasVisible = IsWindowVisible(oldHwnd);
  RECT r;
  GetWindowRect(oldHwnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);

  SuspendEvents();
  const UnitPlace place = {GetAncestor(oldHwnd, GA_ROOT), GetDlgCtrlID(oldHwnd), nullptr, !IsWindowEnabled(oldHwnd),
                           r.left, r.top, r.right - r.left, r.bottom - r.top};
  Unit* fresh = CreateUnitFromRecord(*window, *record, block, place);
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
  SendMessageW(hwnd, private_message::AllUnitsExist, 0, 0);
  if (wasVisible) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  old->recreating = true;
  DestroyWindow(oldHwnd);
  if (hadFocus)
    SetFocus(hwnd);
  else if (focus && IsWindow(focus))
    SetFocus(focus);
  ResumeEvents();
}

}  // namespace lw
