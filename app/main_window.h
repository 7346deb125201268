// The application's frame: the handler table the window templates bind to, the
// ids of both windows' units, and the property access the handlers use.
#pragma once
#include <cstdint>

#include "app/handlers.h"
#include "program/window_definition.h"
#include "runtime/core/service_table.h"
#include "runtime/ui/unit_properties.h"

namespace app {

namespace ids = lw::program::ids;

// The handler table, in the slot order of the window definition. Its address is the
// code base of the program information block.
extern const lw::EventHandler kHandlerTable[lw::program::kHandlerSlotCount];

// The text of the start window's edit boxes and the caption of its labels: one
// number for both kinds.
constexpr int kTextProperty = lw::edit_prop::Text;
static_assert(lw::label_prop::Caption == kTextProperty, "a label's caption has the number of an edit box's text");

// The text of a start-window control, as a new text the caller frees (null when empty).
inline lw::Text readStartText(uint32_t unitId) {
  uint64_t value = lw::kServices.readProperty(ids::StartWindow, unitId, kTextProperty, -1);
  return reinterpret_cast<lw::Text>(uintptr_t(value));
}
// Sets the text or caption of a start-window control; the text is lent.
inline void writeStartText(uint32_t unitId, const char* text) {
  lw::kServices.writeProperty(ids::StartWindow, unitId, kTextProperty, -1, lw::Word(uintptr_t(text)), 0);
}

}  // namespace app
