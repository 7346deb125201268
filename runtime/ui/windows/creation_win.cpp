#include "runtime/ui/windows/creation_win.h"

#include "runtime/ui/windows/table.h"

namespace lw {

Unit* CreateUnitFromRecord(const WindowRecord& window, const UnitRecord& record, const std::vector<uint8_t>& block,
                           const UnitPlace& place) {
  UnitCreate create = RoutinesOf(FindUnitType(record.typeId)).create;
  if (!create) return nullptr;
  UnitCreateArgs a = {};
  a.parent = place.parent;
  a.owner = place.parent;
  a.block = block.data();
  a.blockSize = block.size();
  a.style = ((record.state & unit_state::TabStop) ? WS_TABSTOP : 0) | (place.disabled ? WS_DISABLED : 0);
  a.controlId = place.controlId;
  a.menu = place.menu;
  a.left = place.left;
  a.top = place.top;
  a.width = place.width;
  a.height = place.height;
  a.windowId = window.id;
  a.unitId = record.id;
  return create(a);
}

}  // namespace lw
