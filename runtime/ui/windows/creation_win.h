// Making a unit's live object from its record: the one creation that loading a
// window and re-creating a unit both go through.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/ui/unit.h"

namespace lw {

struct WindowRecord;
struct UnitRecord;

// Where and how the new unit's window is made. The place is in device pixels.
struct UnitPlace {
  HWND parent;    // the window the unit is made in (the owner, for a window)
  int controlId;
  HMENU menu;     // a window's menu bar; null for a control
  bool disabled;  // made disabled
  int left, top, width, height;
};

// Makes the live unit of `record` (of `window`) with its kind's create routine,
// from the property block `block`; its Tab flag gives the tab-stop style. Null
// when the kind has no create routine or the unit cannot be made. The record's
// live slot is left to the caller.
Unit* CreateUnitFromRecord(const WindowRecord& window, const UnitRecord& record, const std::vector<uint8_t>& block,
                           const UnitPlace& place);

}  // namespace lw
