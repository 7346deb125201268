// The control kinds built into the program.
#include "runtime/ui/unit_types_win.h"

namespace lw {

UnitKindEntries g_unitKindEntries = {};

}  // namespace lw
