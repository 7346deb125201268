// The application's frame: the handler table the window templates bind to, the
// ids of both windows' units, and the list click handler.
#pragma once
#include <cstdint>

#include "app/handlers.h"
#include "program/window_definition.h"

namespace app {

namespace ids = lw::program::ids;

// The handler table, in the slot order of the window definition. Its address is the
// code base of the program information block.
extern const lw::EventHandler kHandlerTable[lw::program::kHandlerSlotCount];

}  // namespace app
