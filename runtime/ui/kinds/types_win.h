// Registration of the unit types the program is built with.
#pragma once
#include "runtime/ui/unit.h"

namespace lw {

// Makes the type records of the built-in kinds, which FindUnitType then answers.
void RegisterProgramUnitTypes();

}  // namespace lw
