// Registration of the unit types the program is built with.
#pragma once
#include "runtime/ui/unit.h"

namespace lw {

// The entry routines of the control kinds; a kind left null is not built in, and a
// window holding it cannot be loaded.
struct UnitKindEntries {
  UnitTypeEntry editBox;
  UnitTypeEntry picBox;
  UnitTypeEntry groupBox;
  UnitTypeEntry label;
  UnitTypeEntry button;
  UnitTypeEntry listView;
};
extern UnitKindEntries g_unitKindEntries;

// Fills the type tables of libraries 1 and 3 and registers them.
void RegisterProgramUnitTypes();

}  // namespace lw
